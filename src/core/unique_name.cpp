#include "core/unique_name.h"

namespace
{
unsigned counter = 0;
}

std::string uniqueName()
{
    return std::to_string(counter++);
}

unsigned uniqueNameCounter()
{
    return counter;
}

void setUniqueNameCounter(unsigned value)
{
    counter = value;
}
