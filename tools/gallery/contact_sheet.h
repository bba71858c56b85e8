#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <OgreImage.h>

// A contact sheet: rows of labelled pictures on a neutral background, written as PNG. Rows grow as cells
// are added; a row is as tall as its tallest cell.
class ContactSheet
{
  public:
    // width: the sheet's width in pixels; title: drawn at the top.
    ContactSheet(int width, const std::string& title);

    // Starts a new row, optionally with a heading on its own line above it.
    void newRow(const std::string& heading = "");
    // Adds a picture with a caption below it; wraps to a new row when the row is full. Transparent pixels
    // show a checkerboard so that alpha is visible.
    void addCell(const Ogre::Image& picture, const std::string& caption);

    void save(const std::string& path) const;

  private:
    struct Placed
    {
        Ogre::Image picture;
        std::string caption;
        int x, y;
    };
    struct Text
    {
        std::string text;
        int x, y, size;
    };
    int mWidth;
    int mCursorX = 0;
    int mCursorY = 0;
    int mRowHeight = 0;
    std::vector<Placed> mCells;
    std::vector<Text> mTexts;
};
