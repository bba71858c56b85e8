#include "process_memory.h"

#include <fstream>
#include <sstream>
#include <string>

namespace
{
long statusField(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.compare(0, field.size(), field) != 0 || line.size() <= field.size() ||
            line[field.size()] != ':')
            continue;
        std::istringstream value(line.substr(field.size() + 1));
        long kib = 0;
        value >> kib;
        return value ? kib : 0;
    }
    return 0;
}
} // namespace

namespace processMemory
{
long residentKiB()
{
    return statusField("VmRSS");
}

long peakResidentKiB()
{
    return statusField("VmHWM");
}
} // namespace processMemory
