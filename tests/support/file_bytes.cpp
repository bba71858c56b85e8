#include "support/file_bytes.h"

#include <fstream>
#include <sstream>

std::string readFile(const std::filesystem::path& file)
{
    // Copied through the stream buffer: GCC 12 warns of a null dereference inside the standard library when
    // an istreambuf_iterator range is inlined with optimisation.
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}
