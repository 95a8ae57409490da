// The analysis engine: element stiffness of the constant-strain triangle,
// banded assembly with penalty supports, banded Gaussian elimination,
// element stresses, the nodal-value projection, the secant-modulus update
// of the nonlinear iteration and the support reactions.
//
// The routines take the model store and the work arrays of one analysis
// explicitly; they know nothing of forms or message boxes (the main window's
// Obliczenia wraps them).  Errors are left in Model::blad / Model::blad1.
//
// Precision: the store keeps 32-bit floats, but the element matrices, the
// band matrix, the right-hand side and the solution are doubles.  A float
// elimination of the penalty system is plainly wrong on slender or large
// meshes (tens of percent on an ordinary cantilever).  Results are rounded to
// float when they are stored in f, napr, ww and react.
#pragma once

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>

#include "analysis/rzadki.h"
#include "model/model.h"

// Work arrays of one analysis run.  The element arrays are 1-based like the
// store's (index 0 unused).
struct PracaAnalizy {
  Macierz<double> s;  // [1..nq][1..nbw] upper band of K, column 1 = diagonal
  Wektor<double> fd;  // [1..nq] right-hand side, then the solution
  Wektor<float> EE;   // [1..ne] element moduli of the current step

  double d[4][4] = {};   // elasticity matrix
  double b[4][7] = {};   // strain-displacement matrix
  double db[4][7] = {};  // d * b
  double se[7][7] = {};  // element stiffness
  double q[7] = {};      // element displacements
  double str[4] = {};    // element stress sx, sy, txy
  double dj = 0.0;       // twice the signed area of the last element

  // Set while the analysis may be stopped from another thread: once it
  // reads true, the solution gives up between panels and sets przerwany
  // (the displacements are then not stored).
  const std::atomic<bool>* przerwij = nullptr;
  bool przerwany = false;

  // The sparse system, when the analysis solves with it instead of s.
  std::unique_ptr<UkladRzadki> rzadki;

  // Allocates s, fd and EE for the model's present nq, nbw and ne.
  void przydziel(const Model& m);
  // Allocates fd and EE only (the sparse path has no band).
  void przydziel_bez_pasma(const Model& m);
  void zwolnij();
};

// Half band width: the largest 2*(max node - min node + 1) over all
// elements (0 without elements).
int szerokosc_pasma(const Model& m);

// Elasticity matrix d, strain-displacement matrix b and their product db of
// element n with the modulus w.EE[n].  Poisson's ratio of 0.5 or more sets
// blad = 10 (blad1 = material) and still forms the matrices; a zero area sets
// blad = 2 (blad1 = element) and returns leaving b and db as they were.
void Szt_el(Model& m, PracaAnalizy& w, int n);

// The element stiffness se of element n (Szt_el, then thickness * area *
// bT*d*b).  False when Szt_el raised an error.
bool sztywnosc_elementu(Model& m, PracaAnalizy& w, int n);

// Assembly of all elements into w.s and the penalty supports into w.s and
// w.fd (w.fd must hold the loads); into the sparse system instead when the
// analysis has one (w.rzadki).  Sets cnst on its first use; stops at the
// first element error and then adds no supports.
void Przemieszcz(Model& m, PracaAnalizy& w);

// Banded Gaussian elimination without pivoting of the first nq unknowns of
// the upper-band system s (rows 1..nq, band columns 1..nbw), in place; the
// solution replaces f.  An exactly zero pivot sets blad = 1, blad1 = row.
// Blocked, vectorised and on two threads (analysis/obl0.h) without changing
// any rounding: the result is bit-identical to Obl0_wzorcowy.
void Obl0(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1);

// The same elimination written as literally as possible: the reference
// against which Obl0 and any faster solver are checked bit for bit.
template <class T>
void Obl0_wzorcowy(T* const* s, T* f, int nq, int nbw, int& blad, int& blad1) {
  for (int n = 1; n <= nq - 1; ++n) {
    const int nk = std::min(nq - n + 1, nbw);
    if (s[n][1] == 0) {
      blad = 1;
      blad1 = n;
      continue;
    }
    for (int i = 2; i <= nk; ++i) {
      const T c = s[n][i] / s[n][1];
      const int r = n + i - 1;
      for (int j = i; j <= nk; ++j) s[r][j - i + 1] -= c * s[n][j];
      f[r] -= c * f[n];
    }
  }
  if (nq < 1) return;
  if (s[nq][1] == 0) {
    blad = 1;
    blad1 = nq;
  } else {
    f[nq] = f[nq] / s[nq][1];
  }
  if (blad != 0) return;
  for (int n = nq - 1; n >= 1; --n) {
    if (s[n][1] == 0) {
      blad = 1;
      blad1 = n;
      return;
    }
    const T c = 1 / s[n][1];
    f[n] = c * f[n];
    const int nk = std::min(nq - n + 1, nbw);
    for (int k = 2; k <= nk; ++k) f[n] -= c * s[n][k] * f[n + k - 1];
  }
}

// Twice the signed area of the triangle with the corner nodes k[1..3], in
// double from the float coordinates, as the nodal-value systems of both
// solution paths compute it.
inline double podwojne_pole(const Model& m, const int k[4]) {
  const double x1 = m.x[k[1]][1], y1 = m.x[k[1]][2];
  const double x2 = m.x[k[2]][1], y2 = m.x[k[2]][2];
  const double x3 = m.x[k[3]][1], y3 = m.x[k[3]][2];
  const double x32 = x3 - x2, x13 = x1 - x3, y23 = y2 - y3, y31 = y3 - y1;
  return x13 * y23 - x32 * y31;
}

// Solves the equilibrium system in w.s / w.fd (Obl0 with the model's nq and
// nbw, or the sparse factorisation when the analysis has w.rzadki); a
// solution that is not finite in double or in float is refused like a zero
// pivot.  On success the displacements are stored, rounded, in m.f; a band
// solution stopped through w.przerwij sets w.przerwany and stores nothing.
void rozwiaz_uklad(Model& m, PracaAnalizy& w);

// Element stresses napr from the double solution w.fd; nothing when blad != 0.
// A stress or Huber value that is not a finite float sets blad =
// kBladNieskonczony, blad1 = element.
void Naprezenia(Model& m, PracaAnalizy& w);

// Huber equivalent stress sqrt|sx^2 + sy^2 - sx*sy + 3*txy^2|.
double huber(double sx, double sy, double txy);

// The secant modulus of material mat at equivalent stress sigma on the
// chain of straight pieces Ez / Sprz.  `stary` is the element's present
// modulus (kept when no rule assigns one); zc becomes 1 when sigma reaches
// the first limit.
float modul_sieczny(const Model& m, int mat, float sigma, float stary, int& zc);

// Modulus update of every element from napr[e][4].  A secant modulus that
// is not a finite float sets blad = kBladNieskonczony, blad1 = element.
void Sieczne(Model& m, PracaAnalizy& w, int& zc);

// Support reactions (u - q) * cnst from the double solution.  A reaction
// that is not a finite float sets blad = kBladNieskonczony, blad1 = support
// entry.
void Reakcje(Model& m, const PracaAnalizy& w);

// Nodal values ww: least-squares projection of the element stresses onto a
// continuous field linear in each triangle, one solve per component, using
// w.s (or the sparse node system) and w.fd as work space.  m.f keeps the
// displacements.  Nothing when blad != 0; a nodal value that is not a
// finite float sets blad = kBladNieskonczony, blad1 = node.
void Wart_wez(Model& m, PracaAnalizy& w);

// Checks that every element's material has its modulus intervals (a model
// just built by the wizard has none yet).  False with blad1 = the first
// material without them.
bool materialy_kompletne(const Model& m, int& blad1);

// The thickness and the materials as the analysis reads them: a thickness
// above 0 and, for every material that some element uses, a Poisson's ratio
// above -1, a modulus above 0 in each of its intervals and stress limits
// that start above 0 and rise from interval to interval.  The limit of the
// last interval bounds nothing (the last piece of the curve runs on without
// end), so it is not compared; materials no element uses and columns beyond
// a material's interval count are never read and not looked at.  Returns ""
// when all hold, otherwise the message for the user about the first fault,
// with blad1 = the material (0 for the thickness).  Expects
// materialy_kompletne.
std::string blad_danych(const Model& m, int& blad1);

// Error codes (Model::blad; blad1 says where):
//   1  zero pivot, or a displacement that is not a finite float (equation)
//   2  element of zero area (element)
//   3  a material without modulus intervals (material)
//   4  work arrays larger than the machine's memory
//   5  a result that is not a finite float: an element stress or secant
//      modulus (element), a reaction (support entry), a nodal value (node),
//      or the convergence measure (0)
//   6  thickness or material data the analysis cannot use (see blad_danych)
//  10  Poisson's ratio of 0.5 or more (material)
inline constexpr int kBladBrakPrzedzialow = 3;
inline constexpr int kBladPamieci = 4;
inline constexpr int kBladNieskonczony = 5;
inline constexpr int kBladDanych = 6;

// State of the nonlinear iteration.
struct Iteracja {
  int lprz = 50;       // step limit
  float epsdR = 5.0f;  // error limit in percent
  int krok = 1;        // step counter
  int ikr = 0;         // steps started
  int zc = 0;          // 1 once any element reached its first stress limit
  // Sums of squared displacements of this step and the last, and the change
  // in percent.  Doubles: a float sum overflows once displacements pass
  // about 2e19, and the ratio of two such sums can leave a float's range.
  double normaa = 0.0, normaf = 0.0, dumax = 0.0;
};

// What one step of the iteration asks the caller to report.
struct WynikKroku {
  bool brak_plastycznych = false;  // "Nie wystąpiy naprężenia plastyczne"
  bool linia_logu = false;         // a convergence line is due ...
  int krok_logu = 0;               // ... with this step counter
  double dumax = 0.0;                // ... and this change in percent
  bool zbiezna = false;            // the change fell below the limit
  bool blad = false;               // an engine error ended the iteration
};

// Starts an analysis: band width, the solution path (wybierz_metode of the
// method asked for), work arrays, the checks of the materials and the
// thickness, first moduli, cleared errors.
void start_analizy(Model& m, PracaAnalizy& w, Iteracja& it,
                   MetodaRozwiazania metoda = MetodaRozwiazania::Pasmowa);

// One step of the iteration (the caller advances it.krok afterwards): loads,
// assembly and solution, stresses, modulus update, convergence measure and
// the stop rules, which set it.krok = lprz + 1 when the iteration ends.
WynikKroku krok_iteracji(Model& m, PracaAnalizy& w, Iteracja& it);

// The two halves of krok_iteracji.  The first counts the step and solves
// (loads, assembly, solution: m.f, w.fd, w.s and the error state); the
// stresses, the moduli and the convergence measure of the previous step
// are still untouched after it, so a step can be given up there.  The
// second does the rest.
void rozwiazanie_kroku(Model& m, PracaAnalizy& w, Iteracja& it);
WynikKroku koniec_kroku(Model& m, PracaAnalizy& w, Iteracja& it);
