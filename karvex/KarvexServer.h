// The classes of Karvex.ax (the overlay filter and its page) with the
// filter's setup data, and their registration.
#pragma once

#include "platform/dshow/Server.h"

namespace velk {

const dshow::ClassTable& KarvexClasses();

// Registers or unregisters the module file of `module` with its classes and
// the filter's mapper entry, writing class keys through `store`.
HRESULT KarvexRegister(HMODULE module, bool doRegister, dshow::CClassKeyStore& store);

}  // namespace velk
