// The model store: counts, 1-based arrays and flags of one finite element
// model of a plate, with its analysis results.
//
// Everything that describes a model lives here and nowhere else; commands,
// the analysis, the project file and the drawing take a Model& explicitly,
// so any number of models can exist side by side (the tests rely on it).
//
// Arrays are allocated with exactly the ranges below whenever their count is
// positive (see sprawdz_niezmienniki); with a count of 0 they are absent.
#pragma once

#include <string>

#include "model/tablice.h"

struct Model {
  // --- counts --------------------------------------------------------------
  int ne = 0;     // elements (3-node triangles)
  int nn = 0;     // nodes
  int nq = 0;     // degrees of freedom, always 2*nn
  int nd = 0;     // support entries (restrained degrees of freedom)
  int nl = 0;     // number of loading forces (wizard, file, report recount)
  int nm = 0;     // materials
  int maxpr = 0;  // columns of Ez and Sprz
  int nbw = 0;    // half band width, computed by the analysis
  float th = 1.0f;  // plate thickness

  // --- input arrays ----------------------------------------------------------
  Macierz<float> x;     // [1..nn][1..2] node coordinates X, Y
  Macierz<int> noc;     // [1..ne][1..3] element connectivity
  Wektor<int> mat;      // [1..ne] material of each element
  Macierz<float> pm;    // [1..nm][1..2] [m][1] nominal modulus, [m][2] Poisson's ratio
  Wektor<int> Prz;      // [1..nm] number of modulus intervals
  Macierz<float> Ez;    // [1..nm][1..maxpr] Young's modulus per interval
  Macierz<float> Sprz;  // [1..nm][1..maxpr] upper stress limit per interval
  Wektor<int> nu;       // [1..nd] restrained degree of freedom
  Wektor<float> u;      // [1..nd] prescribed displacement
  Wektor<float> si;     // [1..nq] applied nodal forces per degree of freedom

  // --- result arrays ---------------------------------------------------------
  Wektor<float> f;        // [1..nq] load vector, then displacements
  Wektor<float> react;    // [1..nd] support reactions
  Macierz<float> napr;    // [1..ne][1..4] element stresses sx, sy, txy, Huber
  Macierz<float> ww;      // [1..nq][1..4] nodal stresses (rows 1..nn used)
  // [1..ne] secant modulus of each element after the last step of the
  // analysis; left by the analysis beside the results and meaningful only
  // while obliczono == 1 (it is not renumbered by editing, which clears
  // obliczono anyway).
  Wektor<float> EE;

  // --- element work arrays (exist exactly when Pusty == 0) -------------------
  Macierz<float> d;    // [1..3][1..3]
  Macierz<float> b;    // [1..3][1..6]
  Macierz<float> db;   // [1..3][1..6]
  Macierz<float> se;   // [1..6][1..6]
  Wektor<float> q;     // [1..6]
  Wektor<float> str;   // [1..3]

  // --- flags -----------------------------------------------------------------
  int Pusty = 1;      // 1 = no model
  int obliczono = 0;  // 1 = the result arrays belong to the present model

  // --- group selection -------------------------------------------------------
  int j_grupa = 0;     // 1 = a group exists
  Wektor<int> s_grp;   // [1..i_grp] selected node numbers, ascending
  int i_grp = 0;

  // --- analysis state kept between runs --------------------------------------
  float cnst = 0.0f;  // penalty constant of the supports, set by the first assembly
  int blad = 0;       // 0 or an error code of the analysis (analysis/silnik.h)
  int blad1 = 0;      // equation, element or material concerned
};

// A copy of the whole store: every count, array and flag.  The analysis
// works on one while the window goes on painting the original.
Model kopia_modelu(const Model& m);

// Allocates the element work arrays d, b, db, se, q, str.
void przydziel_robocze(Model& m);
// Releases the element work arrays.
void zwolnij_robocze(Model& m);

// Releases the group selection and every model array, as the release of a
// whole model does, and sets the counts ne, nn, nq, nd, nm to 0.  nl, maxpr
// and th survive.  Flags are left to the caller.
void zwolnij_tablice(Model& m);

// Checks every invariant of the store.  Returns true when all hold;
// otherwise false with a description of the first broken one in *powod.
bool sprawdz_niezmienniki(const Model& m, std::string* powod = nullptr);
