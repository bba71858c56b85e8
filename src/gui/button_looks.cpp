// The looks of a button: its per-button material clones, look changes and opacity.

#include <OgreMaterialManager.h>
#include <OgreOverlayContainer.h>
#include <OgrePanelOverlayElement.h>
#include <OgreTechnique.h>
#include <OgreTextAreaOverlayElement.h>

#include "gui/button.h"

namespace buttonGUI
{

namespace
{
// A material that may exist beside the base one, and the looks it provides. Later rows override earlier
// ones, so ".mouseOff" replaces the base everywhere and ".onRelease" replaces ".mouseOver" on release.
struct LookVariant
{
    const char* suffix;
    bool looks[LOOK_COUNT]; // pressed, released, mouse over, mouse off
    bool showNow;
};

constexpr LookVariant lookVariants[] = {
    {"", {true, true, true, true}, true},
    {".mouseOff", {true, true, true, true}, true},
    {".onClick", {true, false, false, false}, false},
    {".mouseOver", {false, true, true, false}, false},
    {".onRelease", {false, true, false, false}, false},
};
} // namespace

void button::setMaterial(const std::string& baseName)
{
    for (int look = 0; look < LOOK_COUNT; ++look)
    {
        mLookMaterials[look].clear();
        mLookMaterialPtrs[look].reset();
    }
    if (baseName.empty() || baseName == "BLANK")
    {
        panel->setTransparent(true);
        return;
    }
    panel->setTransparent(false);
    for (const PreparedLooks& prepared : mPreparedLooks)
    {
        if (prepared.baseName != baseName)
            continue;
        for (int look = 0; look < LOOK_COUNT; ++look)
        {
            mLookMaterials[look] = prepared.materials[look];
            mLookMaterialPtrs[look] = prepared.pointers[look];
        }
        if (prepared.shown)
            panel->setMaterial(prepared.shown);
        return;
    }

    PreparedLooks prepared;
    prepared.baseName = baseName;
    auto& materials = Ogre::MaterialManager::getSingleton();
    for (const LookVariant& variant : lookVariants)
    {
        const std::string sourceName = baseName + variant.suffix;
        const Ogre::MaterialPtr source = materials.getByName(sourceName);
        if (!source)
            continue;
        // Clones are kept by name for the whole run: a later button of the same name and base material (the
        // same menu built again) takes them over instead of adding new ones.
        const std::string cloneName = sourceName + "_buttonGUI_" + name;
        Ogre::MaterialPtr clone = materials.getByName(cloneName);
        if (!clone)
            clone = source->clone(cloneName);
        clone->load();
        for (int look = 0; look < LOOK_COUNT; ++look)
        {
            if (variant.looks[look])
            {
                mLookMaterials[look] = cloneName;
                mLookMaterialPtrs[look] = clone;
            }
        }
        if (variant.showNow)
        {
            panel->setMaterial(clone);
            prepared.shown = clone;
        }
    }
    // A material that is not there (yet) is looked up again next time.
    if (!prepared.shown)
        return;
    for (int look = 0; look < LOOK_COUNT; ++look)
    {
        prepared.materials[look] = mLookMaterials[look];
        prepared.pointers[look] = mLookMaterialPtrs[look];
    }
    mPreparedLooks.push_back(std::move(prepared));
}

bool button::takeLook(Look look)
{
    if (mLookMaterialPtrs[look])
        panel->setMaterial(mLookMaterialPtrs[look]);
    colourTextAreas(look);
    switch (look)
    {
    case LOOK_PRESSED:
        return reportPress;
    case LOOK_RELEASED:
        return reportRelease;
    case LOOK_MOUSE_OVER:
        mMouseOver = true;
        return reportOver;
    case LOOK_MOUSE_OFF:
        mMouseOver = false;
        return reportOff;
    case LOOK_COUNT:
        break;
    }
    return false;
}

void button::colourTextAreas(Look look)
{
    for (const auto& entry : panel->getChildren())
    {
        if (auto* text = dynamic_cast<Ogre::TextAreaOverlayElement*>(entry.second))
        {
            text->setColourTop(mTextScheme.colourTop[look]);
            text->setColourBottom(mTextScheme.colourBottom[look]);
        }
    }
}

void button::applyAlpha(const Ogre::MaterialPtr& material, float alpha) const
{
    if (!material || material->getNumTechniques() == 0)
        return;
    for (Ogre::Pass* pass : material->getTechnique(0)->getPasses())
    {
        pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
        for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
            unit->setAlphaOperation(Ogre::LBX_MODULATE, Ogre::LBS_MANUAL, Ogre::LBS_TEXTURE, alpha, 1.0, 0.0);
    }
}

// Runs every frame of a fade: no lookups by name, no allocation.
void button::setAlpha(float alpha)
{
    if (!panel->isTransparent())
    {
        const Ogre::MaterialPtr& shown = panel->getMaterial();
        applyAlpha(shown, alpha);
        for (int look = 0; look < LOOK_COUNT; ++look)
        {
            const Ogre::MaterialPtr& material = mLookMaterialPtrs[look];
            bool done = !material || material == shown;
            for (int earlier = 0; earlier < look && !done; ++earlier)
                done = mLookMaterialPtrs[earlier] == material;
            if (!done)
                applyAlpha(material, alpha);
        }
    }
    for (const auto& entry : panel->getChildren())
    {
        if (auto* text = dynamic_cast<Ogre::TextAreaOverlayElement*>(entry.second))
        {
            Ogre::ColourValue top = text->getColourTop();
            Ogre::ColourValue bottom = text->getColourBottom();
            top.a = alpha;
            bottom.a = alpha;
            text->setColourTop(top);
            text->setColourBottom(bottom);
        }
    }
    for (button* child : mChildren)
        child->setAlpha(alpha);
}

} // namespace buttonGUI
