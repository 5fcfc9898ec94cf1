// Surfaces to and from PNG files, for screenshots, contact sheets and tests.
#pragma once
#include <string>

#include "draw/surface.h"

bool WritePng(const std::string& path, const Surface& s);
bool ReadPng(const std::string& path, Surface& s);
