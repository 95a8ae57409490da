// The sparse solution path: the same double stiffness matrix with the same
// penalty supports as the band path, kept in compressed columns and
// factorised by a supernodal Cholesky (CHOLMOD) after a fill-reducing
// ordering.  Where the band needs nq*nbw numbers and nq*nbw^2 operations, a
// square plate of a million unknowns needs a fraction of both here.
//
// The pattern of the matrix depends only on the connectivity, so it is
// built, ordered and analysed symbolically once per analysis; every step
// refills the values (element by element, in the band's order, so every
// entry is the same sum of the same terms as in the band) and factorises
// again.  The nodal-value system has the node graph as its pattern: it is
// ordered by the same ordering, factorised once and solved for the three
// stress components.
//
// The ordering is computed on the graph of the nodes (half the vertices and
// a quarter of the edges of the graph of the unknowns) and spread to the two
// unknowns of each node.  It is approximate minimum degree (AMD): measured
// on square plates of 250,000 to a million unknowns (bench_rzadki porzadki,
// one thread), nested dissection (METIS) takes 0.5 to 2.9 s more to order
// and saves at most 12 % of a factorisation (at a million unknowns 54
// instead of 84 GFlop, but in smaller supernodes: 4.6 instead of 5.1 s), so
// it pays only after five or more steps of the largest plates, while a
// linear analysis has one.  The whole factorisation runs with a fixed number
// of BLAS threads and fixed parameters, so the same model gives the same
// bits run after run whatever the environment asks for.
#pragma once

#include <memory>

struct Model;
struct PracaAnalizy;

// The solution method the user chose.  The numbers are those of the
// settings form's list.
enum class MetodaRozwiazania { Automatyczna = 0, Pasmowa = 1, Rzadka = 2 };

// The method's name in the settings ("automatycznie", "pasmowa", "rzadka")
// and back; an unknown name reads as the automatic choice.
const char* nazwa_metody(MetodaRozwiazania m);
MetodaRozwiazania metoda_z_nazwy(const char* nazwa);

// Whether the band path is estimated to be at least as fast as the sparse
// one for nq unknowns with half band width nbw.
bool pasmo_nie_wolniejsze(long long nq, long long nbw);

// The path an analysis takes: the chosen one, or for the automatic choice
// the band where it is not slower and fits in memory, the sparse one
// otherwise.
MetodaRozwiazania wybierz_metode(MetodaRozwiazania zadana, long long nq, long long nbw, bool pasmo_miesci_sie);

class UkladRzadki {
 public:
  UkladRzadki();
  ~UkladRzadki();
  UkladRzadki(const UkladRzadki&) = delete;
  UkladRzadki& operator=(const UkladRzadki&) = delete;

  // Builds both patterns, the ordering and the symbolic factorisations for
  // the model's connectivity.  False (with m.blad = kBladPamieci) when the
  // factors would not fit in the machine's memory or could not be had.
  bool przygotuj(Model& m);

  // Assembly: zeroes the values, adds the element stiffness of elements
  // 1..ne in order (stopping at the first element error, as the band
  // assembly does) and, without an error, the penalty terms into the
  // diagonal and into w.fd.
  void montuj(Model& m, PracaAnalizy& w);

  // Factorises and solves for the right-hand side in w.fd, which receives
  // the solution.  A matrix that is not positive definite sets blad = 1 and
  // blad1 = the equation whose pivot failed, like a zero pivot of the band.
  void rozwiaz(Model& m, PracaAnalizy& w);

  // The nodal-value system of stress component c (1..3): the right-hand
  // side goes into f[1..nn] and is replaced by the solution.  The matrix is
  // assembled and factorised on the first call only.
  void wartosci_wezlowe(Model& m, int c, double* f);

  // The assembled stiffness (upper triangle) for the tests: entry K(r, c),
  // r <= c, 1-based; 0 outside the pattern.
  double wartosc(int r, int c) const;

  // The fill-reducing ordering: nested dissection (METIS) or minimum degree
  // (AMD), of the node graph spread to the unknowns, or of the graph of the
  // unknowns itself.  Set before przygotuj; the benchmark compares them.
  enum class Porzadek { MetisWezlow, AmdWezlow, MetisNiewiadomych, AmdNiewiadomych };
  Porzadek porzadek = Porzadek::AmdWezlow;

  // Statistics of the preparation and of the factor of K.
  struct Statystyka {
    double niezerowe_L = 0;  // entries of the factor
    double operacje = 0;     // floating-point operations of one factorisation
    double s_wzor = 0;       // seconds: the patterns and the element offsets
    double s_porzadek = 0;   // the ordering
    double s_analiza = 0;    // the symbolic factorisations
  };
  Statystyka statystyka() const;

 private:
  struct Dane;
  std::unique_ptr<Dane> d_;
};

// The number of BLAS threads the factorisation always runs with, whatever
// the solver's thread setting or the environment says.
int watki_blas();
// For benchmarks: another count (0 = back to the fixed one).  Results then
// differ from those of the fixed count in the last bits.
void ustaw_watki_blas(int n);
