// How long the tune fades out when it is stopped: long enough that the stop
// is heard as an ending, not a cut; short enough that the next screen's
// sound comes over silence.
#pragma once

inline constexpr int TuneFadeMs = 400;
