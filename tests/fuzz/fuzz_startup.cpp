// The fuzzer's sheets: each decoded once. The fuzz target keeps the surfaces
// from input to input, so a sheet already in its surface is left as it is
// (the game never draws into a sheet).
#define LoadSheet DecodedLoadSheet
#include "resources/resources.cpp"
#undef LoadSheet

#include <map>

void LoadSheet(int resourceId, Surface& out) {
    static std::map<const Surface*, int> held;
    auto it = held.find(&out);
    if (it != held.end() && it->second == resourceId && out.width > 0) return;
    DecodedLoadSheet(resourceId, out);
    held[&out] = resourceId;
}
