#pragma once

// The lights the scenes share. Each scene clears its scene manager when it unloads, which takes them away.

// Daylight for play and the results stage: sky-blue ambient, a grey sun from above and in front, and a far
// grey lamp.
void addDaylight();
// The softer light of the title and the credits: the same ambient and one pale light from above.
void addTitleLight();
