// Checks of ZELVO's About box template and icon group against what they must contain,
// shared by the test that reads the .res file and the one that loads the linked
// resources under Windows. They report through GoogleTest.
#ifndef ZELVO_TESTS_RESOURCE_CHECKS_H
#define ZELVO_TESTS_RESOURCE_CHECKS_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// displayName: the product's display name from the version record, in Shift-JIS.
void CheckAboutTemplate(const uint8_t* data, size_t size, const std::string& displayName);

// iconData gives the bytes of the icon image with an id; false when there is none.
using IconDataLookup = std::function<bool(uint16_t id, std::vector<uint8_t>* data)>;
void CheckIconGroup(const uint8_t* data, size_t size, const IconDataLookup& iconData);

#endif
