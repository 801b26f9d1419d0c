// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {
class MessageSink;
}

namespace kelvor::app {

// Returns after that many milliseconds (at most 65535), handling window events all the while.
void WaitMs(int milliseconds);

// Stopwatch(0) remembers the time; Stopwatch(1) shows "Time = " + elapsed ms + " ms".
class Stopwatch {
public:
    void Start();
    void Report(MessageSink& messages) const;
    long long ElapsedMs() const;

private:
    long long startMs_ = 0;
};

} // namespace kelvor::app
