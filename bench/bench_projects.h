#pragma once

#include <memory>

#include "model/cio_project.h"

namespace pinsum::bench {

// The sample catalogue with the sample request, as the calculator starts with them.
std::unique_ptr<CioProject> SampleProject();

// The shape of a generated catalogue and request.
struct Generated {
    int devices = 40;
    // Positions of every device; 0 gives device d 2 + d % 7 of them.
    int positions = 0;
    // Multiplies the request's counts (6, 11, ... 41 points of the eight kinds, 236 in all).
    int requestScale = 1;
};

// Devices (every fourth a peripheral) whose positions each allow two of 24 modules with one or
// two variants over 8 kinds, later positions also the empty module.
std::unique_ptr<CioProject> GeneratedProject(const Generated& shape = {});

} // namespace pinsum::bench
