#pragma once

#include <string>

// Names for engine objects that need nothing but uniqueness (scene nodes, entities, particle systems,
// billboard sets, lights): the decimal text of a process-wide counter, then the counter advances.
// The first name is "0". Main thread only.
std::string uniqueName();

// Where the counter stands; tests restore it to keep their names independent of the test order.
unsigned uniqueNameCounter();
void setUniqueNameCounter(unsigned value);
