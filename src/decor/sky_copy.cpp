#include "decor/sky_copy.h"

#include <cstdlib>
#include <string>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <Ogre.h>

namespace
{
// Why the window cannot take a blitted picture; empty when it can.
std::string cannotBlit()
{
    const Ogre::RenderSystem* renderSystem = Ogre::Root::getSingleton().getRenderSystem();
    if (!renderSystem || renderSystem->getName() != "OpenGL Rendering Subsystem")
        return "not the OpenGL render system";
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!version || std::atoi(version) < 3)
        return std::string("OpenGL ") + (version ? version : "of unknown version") +
               " has no framebuffer blit";
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &samples);
    if (samples != 0)
        return "the window is multisampled";
    return {};
}

// Binds a framebuffer for reading and gives the render system's binding back on leaving the scope, so that
// the state the render system remembers stays true.
class ReadFramebuffer
{
  public:
    explicit ReadFramebuffer(GLuint framebuffer)
    {
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &mPrevious);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    }
    ~ReadFramebuffer() { glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(mPrevious)); }
    ReadFramebuffer(const ReadFramebuffer&) = delete;
    ReadFramebuffer& operator=(const ReadFramebuffer&) = delete;

  private:
    GLint mPrevious = 0;
};

// A framebuffer that reads `texture`; 0 when no framebuffer can.
GLuint readerOf(const Ogre::TexturePtr& texture)
{
    GLuint id = 0;
    texture->getCustomAttribute("GLID", &id);
    if (id == 0 || Ogre::PixelUtil::isCompressed(texture->getFormat()))
        return 0;
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    const ReadFramebuffer bound(framebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, id, 0);
    if (glCheckFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
        return framebuffer;
    glDeleteFramebuffers(1, &framebuffer);
    return 0;
}
} // namespace

std::unique_ptr<SkyCopy> SkyCopy::start(const Ogre::TexturePtr& picture, Ogre::RenderWindow& window,
                                        Ogre::Viewport& view)
{
    std::string why = cannotBlit();
    GLuint framebuffer = 0;
    if (why.empty())
    {
        picture->load();
        framebuffer = readerOf(picture);
        if (framebuffer == 0)
            why = "no framebuffer reads its picture " + picture->getName();
    }
    if (!why.empty())
    {
        Ogre::LogManager::getSingleton().logMessage("The sky is drawn, not copied: " + why);
        return nullptr;
    }
    return std::unique_ptr<SkyCopy>(new SkyCopy(picture, window, view, framebuffer));
}

SkyCopy::SkyCopy(const Ogre::TexturePtr& picture, Ogre::RenderWindow& window, Ogre::Viewport& view,
                 unsigned framebuffer)
    : mPicture(picture), mWindow(window), mView(view), mFramebuffer(framebuffer)
{
    mWindow.addListener(this);
}

SkyCopy::~SkyCopy()
{
    mWindow.removeListener(this);
    glDeleteFramebuffers(1, &mFramebuffer);
}

void SkyCopy::preViewportUpdate(const Ogre::RenderTargetViewportEvent& event)
{
    if (event.source != &mView)
        return;
    const auto width = static_cast<GLint>(mPicture->getWidth());
    const auto height = static_cast<GLint>(mPicture->getHeight());
    // Window rows count from the bottom, the picture's from its top.
    const GLint left = mView.getActualLeft();
    const GLint bottom =
        static_cast<GLint>(mWindow.getHeight()) - mView.getActualTop() - mView.getActualHeight();
    const GLint right = left + mView.getActualWidth();
    const GLint top = bottom + mView.getActualHeight();
    const bool texelForPixel = width == right - left && height == top - bottom;
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glDisable(GL_SCISSOR_TEST);
    {
        const ReadFramebuffer bound(mFramebuffer);
        glBlitFramebuffer(0, height, width, 0, left, bottom, right, top, GL_COLOR_BUFFER_BIT,
                          texelForPixel ? GL_NEAREST : GL_LINEAR);
    }
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}
