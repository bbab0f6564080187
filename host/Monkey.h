// The monkey: random but repeatable user input and outside changes of the
// documents folder, on a scratch device, with checks after every step that
// the programs still answer, no document was lost and the registry file
// still reads. A failure names the seed and the step, so it can be replayed.
#pragma once

#include <cstdint>
#include <string>

struct MonkeyOptions {
    uint64_t seed = 0;
    bool seedGiven = false;  // else one is drawn and printed
    int events = 1000;
    std::string profile = "qvga";
    bool keepDevice = false;  // also when nothing failed
};

// Makes the scratch device, runs the Today screen under the monkey and
// returns the exit status (1 on a failure).
int RunMonkey(MonkeyOptions options);
