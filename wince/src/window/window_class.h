// Registered window classes.
#pragma once

#include <memory>

#include "window.h"

namespace wince {

std::shared_ptr<WindowClass> FindClass(LPCWSTR name);

// The layer's own controls register their classes through this at first use
// of the window manager.
using SystemClassRegistrar = void (*)();
void AddSystemClassRegistrar(SystemClassRegistrar registrar);
void EnsureSystemClasses();

}  // namespace wince
