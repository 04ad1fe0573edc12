#pragma once

#include <cstdio>

// Whether the stream is an interactive terminal (progress lines only go there).
bool IsTerminal(std::FILE* stream);
