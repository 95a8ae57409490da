// Running the gmsh program on a geometry file (.geo) to get its mesh.
#pragma once

#include <string>

// The full path of the `gmsh` program on the PATH; "" when there is none.
std::string znajdz_gmsh();

struct WynikGmsh {
  bool ok = false;           // gmsh ended with status 0 and wrote the mesh
  bool przekroczony_czas = false;
  std::string komunikaty;    // gmsh's messages when it failed (its errors, or its last lines)
};

// Meshes `geo` in two dimensions into `msh` (MSH 4.1): runs
// `program geo -2 -format msh41 -o msh` directly (no shell), with standard
// input from /dev/null and its output collected, and ends it when it runs
// longer than `limit_s` seconds.
WynikGmsh uruchom_gmsh(const std::string& program, const std::string& geo, const std::string& msh,
                       double limit_s);
