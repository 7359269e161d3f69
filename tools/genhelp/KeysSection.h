#pragma once

#include <string>

// The contents page's "Keys" section: every key the program answers, the
// keys of keyboard play among them.
std::string KeysSection();
