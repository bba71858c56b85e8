#pragma once

// The process's memory as the kernel counts it (/proc/self/status), in KiB; 0 where it cannot be read.

namespace processMemory
{
// Resident set size now (VmRSS).
long residentKiB();
// The largest resident set size so far (VmHWM).
long peakResidentKiB();
} // namespace processMemory
