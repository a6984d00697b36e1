#include "platform/framework/Resources.h"

namespace velk::fw {

namespace {
HINSTANCE g_resources = nullptr;
}  // namespace

HINSTANCE ResourceInstance() { return g_resources ? g_resources : ::GetModuleHandleA(nullptr); }
void SetResourceInstance(HINSTANCE instance) { g_resources = instance; }

std::string LoadResourceString(UINT id) { return LoadResourceString(ResourceInstance(), id); }

}  // namespace velk::fw
