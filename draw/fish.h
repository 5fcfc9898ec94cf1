// Drawing of the fish.
#pragma once

// Masked draw of every fish that is not Free into the BackBuffer, from the
// block sheet's columns 14 to 17 (swimming left, caught left, swimming right,
// caught right), relative to the well's origin.
void DrawFish();
