// Reader of the mesh files of Gmsh (MSH 4.1 and 2.2, ASCII and binary).
//
// The reader turns the bytes of a file into a neutral description of a
// surface mesh: the nodes with their Gmsh tags and coordinates, the
// triangles (quadrangles split into two), and the line and point elements
// of the physical groups together with the groups' names.  It knows nothing
// of the model store; src/io/import_siatki.h builds a model from it.
//
// A mesh file is untrusted input.  Every count is checked against the bytes
// that are left before anything is allocated for it, node tags may be sparse
// and huge (nothing is allocated by the largest tag), every node an element
// names must exist, and numbers must be finite.  A file the reader cannot
// use is refused with a Polish message that names the reason and, in ASCII
// files, the line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gmsh {

struct Siatka {
  // Nodes in the order of the file: tag and coordinates (x, y, z of node i
  // at 3i, 3i+1, 3i+2).
  std::vector<std::uint64_t> tagi;
  std::vector<double> xyz;

  // Elements refer to nodes by their index in the lists above.  `grupa` is
  // the physical group's tag (0 = none).  An element of several physical
  // groups appears once per group; triangles appear only once (a triangle
  // in two physical surfaces is refused), lines and points once per group
  // and node set.
  struct Trojkat {
    std::uint32_t w[3];
    int grupa;
  };
  struct Odcinek {
    std::uint32_t w[2];
    int grupa;
  };
  struct Punkt {
    std::uint32_t w;
    int grupa;
  };
  std::vector<Trojkat> trojkaty;  // with the quadrangles already split
  std::vector<Odcinek> odcinki;   // only those of a physical curve
  std::vector<Punkt> punkty;      // only those of a physical point
  int czworokaty = 0;             // quadrangles that were split

  // Names of the physical groups: (dimension, tag) -> name.
  std::map<std::pair<int, int>, std::string> nazwy;

  std::string wersja;  // "4.1" or "2.2"
  bool binarny = false;
};

// Reads an MSH file image.  True with the mesh in `s`; false with the reason
// in `blad` (Polish, one or more lines) and `s` in an unspecified state.
bool czytaj(const std::uint8_t* dane, std::size_t rozmiar, Siatka& s, std::string& blad);

// How a mesh of first-order surface elements is written by Gmsh; part of
// the messages that refuse other meshes.
inline constexpr const char* kPolecenieEksportu = "gmsh plik.geo -2 -order 1 -format msh41";

}  // namespace gmsh
