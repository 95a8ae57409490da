// Building small models directly in a store, for tests and benchmarks.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "model/model.h"

struct OpisModelu {
  struct Material {
    float pois = 0.3f;
    std::vector<std::pair<float, float>> przedzialy = {{200000.0f, 300.0f}};  // (E, Sprz)
    float nominalny = 0.0f;                                                  // pm[m][1]
  };
  std::vector<std::array<float, 2>> wezly;
  std::vector<std::array<int, 3>> elementy;
  std::vector<int> materialy_el;  // per element; missing entries mean material 1
  std::vector<Material> materialy;
  std::vector<std::pair<int, float>> podpory;  // (degree of freedom, prescribed displacement)
  std::vector<std::pair<int, float>> sily;     // (degree of freedom, force)
  float th = 1.0f;
  int nl = 0;
  int maxpr = 0;  // at least the largest interval count
};

// Replaces the contents of m by the described model, as a successful load
// leaves it (Pusty = 0, obliczono = 0, f = si).
void zbuduj(Model& m, const OpisModelu& o);

// A rectangle of nx x ny cells over lx x ly, two triangles per cell, node
// numbering row by row from the bottom (as the rectangle generator does),
// one material.  No supports and no forces.
OpisModelu prostokat(int nx, int ny, float lx, float ly, float E = 200000.0f, float pois = 0.3f);

// A 9 x 4 cell plate with traps for the nodal values: two nodes trading
// numbers, a reversed triangle, two materials, and a supported node that
// belongs to no element.
OpisModelu plyta_z_pulapkami();
