// A model from a Gmsh mesh.
//
// The triangles of the mesh become the elements (with their nodes counter-
// clockwise), physical surface t gives its triangles material t, and the
// names of physical curves and points put supports and loads on their nodes:
// tokens separated by blanks, commas or semicolons, read without regard to
// case, where X, Y and XY restrain the nodes, UX=v and UY=v prescribe a
// displacement and FX=v, FY=v put a total force v on the group (spread over
// a curve's nodes in proportion to their share of its length, equally over a
// group of points).  Nodes no triangle uses are dropped, the mesh is moved
// so that no coordinate is negative, and the nodes are renumbered by
// reverse Cuthill-McKee so that the band of the stiffness matrix is narrow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "io/gmsh.h"
#include "model/model.h"

// A physical group of an imported mesh, kept so that its nodes can be
// selected as a group later: its label for a list and the model coordinates
// of its nodes (coordinates, not numbers, so that the group survives edits
// that renumber the nodes).
struct GrupaSiatki {
  std::string etykieta;
  std::vector<std::pair<float, float>> punkty;
};

// What an import did, for the summary and the tests.
struct WynikImportu {
  int wezly = 0, elementy = 0, materialy = 0;
  int podpory = 0;            // support entries (restrained degrees of freedom)
  int sily = 0;               // nodes with a force
  int czworokaty = 0;         // quadrangles split into two triangles
  int pominiete_wezly = 0;    // nodes of no triangle, dropped
  int pasmo_gmsh = 0;         // half band width in the numbering of the file
  int pasmo = 0;              // ... and in the model's numbering
  double przesuniecie_x = 0;  // added to every x and y
  double przesuniecie_y = 0;
  double suma_fx = 0, suma_fy = 0;          // the total load
  std::vector<std::string> pominiete_nazwy;  // names that meant nothing here
  std::vector<GrupaSiatki> grupy;            // physical groups, for selection
  std::string tekst;                         // the summary shown to the user
};

// Builds the model of the mesh into m, replacing whatever m held; the model
// is complete (Pusty = 0, obliczono = 0, f = si, the element work arrays
// allocated).  False with the reason in `blad` when the mesh cannot become a
// model; m is then left released.
bool zbuduj_model(const gmsh::Siatka& s, Model& m, WynikImportu& w, std::string& blad);

// Reads an MSH file image and builds its model (gmsh::czytaj, then
// zbuduj_model).
bool importuj_siatke(const std::uint8_t* dane, std::size_t rozmiar, Model& m, WynikImportu& w,
                     std::string& blad);
