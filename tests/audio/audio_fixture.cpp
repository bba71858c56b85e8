#include "audio_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "audio/sound_manager.h"

extern char** environ;

void AudioTest::SetUp()
{
    char pattern[] = "/tmp/quobbel-audio-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mDir = pattern;
}

void AudioTest::TearDown()
{
    SoundManager::shutdown();
    if (mEngine)
        Ogre::LogManager::getSingleton().getDefaultLog()->removeListener(&mLog);
    mEngine.reset();
    std::error_code ignored;
    std::filesystem::remove_all(mDir, ignored);
}

bool AudioTest::startEngine(const std::string& extraLocation)
{
    mEngine = std::make_unique<platform::HeadlessEngine>();
    mEngine->addResourceLocation(mDir, "FileSystem");
    if (!extraLocation.empty())
        mEngine->addResourceLocation(extraLocation, "FileSystem");
    mEngine->initialiseResources();
    Ogre::LogManager::getSingleton().getDefaultLog()->addListener(&mLog);
    return SoundManager::instance().initialise();
}

bool AudioTest::wasLogged(const std::string& message) const
{
    return std::find(mLog.messages.begin(), mLog.messages.end(), message) != mLog.messages.end();
}

bool runningAsChild()
{
    return std::getenv("QUOBBEL_AUDIO_CHILD") != nullptr;
}

int runAsChild(const std::vector<std::string>& environment)
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    // Everything exec needs is built before fork: the child may only exec. The given variables come first,
    // where getenv finds them before inherited ones of the same name.
    std::vector<std::string> variables = environment;
    variables.push_back("QUOBBEL_AUDIO_CHILD=1");
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    for (char** entry = environ; *entry; ++entry)
        envp.push_back(*entry);
    envp.push_back(nullptr);
    std::string self = "/proc/self/exe";
    std::string program = "test_audio";
    std::vector<char*> argv = {program.data(), const_cast<char*>(filter.c_str()), nullptr};

    const pid_t child = fork();
    if (child == 0)
    {
        execve(self.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
