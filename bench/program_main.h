#pragma once

// The main() of the bench programs: runs the program, and turns an exception into a message on standard
// error and exit code 1.

#include <cstdio>
#include <exception>

template <typename Run> int runReportingErrors(Run run, int argc, char** argv)
{
    try
    {
        return run(argc, argv);
    }
    catch (const char* text)
    {
        std::fprintf(stderr, "Error: %s\n", text);
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "Error: %s\n", error.what());
    }
    return 1;
}
