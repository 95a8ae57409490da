#include "analysis/rzadki.h"

#include <cholmod.h>
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "analysis/pula.h"
#include "analysis/silnik.h"

namespace {

using Indeks = SuiteSparse_long;
using Zegar = std::chrono::steady_clock;

double sekundy(Zegar::time_point t0) { return std::chrono::duration<double>(Zegar::now() - t0).count(); }

// --- threads ---------------------------------------------------------------------
//
// CHOLMOD does the dense work of the supernodes in the system's BLAS.  With
// OpenBLAS the thread count comes from the environment unless it is set;
// it is set here for every factorisation and put back afterwards, so the
// program decides and the rest of the process keeps what it had.  Without
// OpenBLAS (the reference BLAS) there is nothing to set.
//
// CHOLMOD also runs a few loops of its own (clearing and copying arrays) in
// OpenMP teams of four.  On this program's two threads of BLAS they only
// add threads that spin after each loop, and a thread checker cannot see
// the library's barriers: OpenMP is kept to one thread for the calls (the
// nesting limit 0 runs every parallel region with a team of one) and put
// back afterwards.  Neither setting changes a bit of the results.
using UstawLiczbe = void (*)(int);
using PodajLiczbe = int (*)();

struct Biblioteki {
  UstawLiczbe ustaw_blas = nullptr, ustaw_omp = nullptr;
  PodajLiczbe podaj_blas = nullptr, podaj_omp = nullptr;
  Biblioteki() {
    ustaw_blas = reinterpret_cast<UstawLiczbe>(dlsym(RTLD_DEFAULT, "openblas_set_num_threads"));
    podaj_blas = reinterpret_cast<PodajLiczbe>(dlsym(RTLD_DEFAULT, "openblas_get_num_threads"));
    if (!podaj_blas) ustaw_blas = nullptr;
    ustaw_omp = reinterpret_cast<UstawLiczbe>(dlsym(RTLD_DEFAULT, "omp_set_max_active_levels"));
    podaj_omp = reinterpret_cast<PodajLiczbe>(dlsym(RTLD_DEFAULT, "omp_get_max_active_levels"));
    if (!podaj_omp) ustaw_omp = nullptr;
  }
  static const Biblioteki& jedne() {
    static const Biblioteki b;
    return b;
  }
};

// The thread settings of the libraries for the life of one call.
class WatkiBibliotek {
 public:
  WatkiBibliotek() {
    const Biblioteki& b = Biblioteki::jedne();
    if (b.ustaw_blas) {
      blas_ = b.podaj_blas();
      if (blas_ != watki_blas()) b.ustaw_blas(watki_blas());
      else blas_ = 0;
    }
    if (b.ustaw_omp) {
      omp_ = b.podaj_omp();
      if (omp_ != 0) b.ustaw_omp(0);
      else omp_ = -1;
    }
  }
  ~WatkiBibliotek() {
    const Biblioteki& b = Biblioteki::jedne();
    if (blas_ > 0) b.ustaw_blas(blas_);
    if (omp_ >= 0 && b.ustaw_omp) b.ustaw_omp(omp_);
  }
  WatkiBibliotek(const WatkiBibliotek&) = delete;
  WatkiBibliotek& operator=(const WatkiBibliotek&) = delete;

 private:
  int blas_ = 0;
  int omp_ = -1;
};

// Whether a block of this many bytes fits in the machine's memory.
bool miesci_sie_w_pamieci(double bajty) {
  const long strony = sysconf(_SC_PHYS_PAGES), rozmiar = sysconf(_SC_PAGE_SIZE);
  if (strony <= 0 || rozmiar <= 0) return true;
  return bajty < static_cast<double>(strony) * static_cast<double>(rozmiar);
}

}  // namespace

namespace {
int g_watki_blas = 0;  // set by ustaw_watki_blas, 0 for the fixed count
}  // namespace

void ustaw_watki_blas(int n) { g_watki_blas = std::max(n, 0); }

int watki_blas() {
  if (g_watki_blas > 0) return g_watki_blas;
  // The library's Cholesky of a dense block divides it into pieces by the
  // number of threads, so another count rounds differently: the count is
  // fixed, not taken from the solver's setting or from the environment.
#if defined(__SANITIZE_THREAD__)
  // The thread checker cannot see how the library's threads hand over
  // their work (it is not built for the checker): one thread there.
  return 1;
#else
  return kMaksWatkow;
#endif
}

const char* nazwa_metody(MetodaRozwiazania m) {
  switch (m) {
    case MetodaRozwiazania::Pasmowa: return "pasmowa";
    case MetodaRozwiazania::Rzadka: return "rzadka";
    case MetodaRozwiazania::Automatyczna: break;
  }
  return "automatycznie";
}

MetodaRozwiazania metoda_z_nazwy(const char* nazwa) {
  if (nazwa && !std::strcmp(nazwa, "pasmowa")) return MetodaRozwiazania::Pasmowa;
  if (nazwa && !std::strcmp(nazwa, "rzadka")) return MetodaRozwiazania::Rzadka;
  return MetodaRozwiazania::Automatyczna;
}

bool pasmo_nie_wolniejsze(long long nq, long long nbw) {
  // The band costs about a*nq*nbw^2 + b*nq, the sparse path c*nq (pattern,
  // ordering, analysis, assembly) + d*nq^1.5 (the factor of a plate).
  // Measured for a linear analysis on squares and on strips of 3,000 to
  // 200,000 unknowns numbered along either side (bench_rzadki przeciecie,
  // one thread, processor time): a = 0.85e-10 s, b = 1.4e-6 s, c = 2.9e-6 s,
  // d = 4.5e-9 s.  The band is not slower while nbw^2 <= ((c - b) +
  // d*sqrt(nq)) / a = 1.8e4 + 53*sqrt(nq).  Two threads shorten the band's
  // elimination about 1.7 times and the factor of so small a plate about
  // 1.3 times, which gives 3.0e4 + 69*sqrt(nq); the rule takes the middle.
  // It keeps the band for squares up to some 90 x 90 cells and for strips
  // numbered across of any length, and never for a square of 100 x 100 or a
  // strip numbered along.
  const double n = static_cast<double>(nq), b = static_cast<double>(nbw);
  return b * b <= 2.4e4 + 60.0 * std::sqrt(n);
}

MetodaRozwiazania wybierz_metode(MetodaRozwiazania zadana, long long nq, long long nbw, bool pasmo_miesci_sie) {
  if (zadana != MetodaRozwiazania::Automatyczna) return zadana;
  return pasmo_miesci_sie && pasmo_nie_wolniejsze(nq, nbw) ? MetodaRozwiazania::Pasmowa
                                                           : MetodaRozwiazania::Rzadka;
}

// --- the sparse system ------------------------------------------------------------
//
// Both matrices are kept as their upper triangles in compressed columns,
// rows sorted, with every diagonal entry present.  The node matrix W has
// column J (0-based node J) holding the nodes I <= J that share an element
// with J, the diagonal last.  The matrix of the unknowns K follows from it:
// node column J with m off-diagonal rows I_0 < ... < I_{m-1} gives unknown
// columns 2J (rows 2I_0, 2I_0+1, ..., 2J) and 2J+1 (the same and 2J+1), so
// the entry of node row I at offset q of node column J sits at offset 2q
// (unknown 2I) and 2q+1 (unknown 2I+1) of both unknown columns.  Each
// element keeps the offsets of its three node pairs, which turns the
// assembly into plain indexing.
struct UkladRzadki::Dane {
  cholmod_common c{};
  bool c_uruchomiony = false;
  cholmod_sparse* K = nullptr;
  cholmod_sparse* W = nullptr;
  cholmod_factor* LK = nullptr;
  cholmod_factor* LW = nullptr;
  bool LW_gotowy = false;
  // Solve workspace, kept between solves.
  cholmod_dense* X = nullptr;
  cholmod_dense* Y = nullptr;
  cholmod_dense* E = nullptr;
  // Offsets in node columns of the element's pairs (1,2), (1,3), (2,3),
  // each in the column of the larger node number.
  std::vector<std::int32_t> pary;
  // The equation of a node of no element left without a support: its row
  // of K is empty, so no factorisation is tried (0 when there is none).
  int pusty_wiersz = 0;
  UkladRzadki::Statystyka stat;

  ~Dane() {
    if (!c_uruchomiony) return;
    cholmod_l_free_dense(&X, &c);
    cholmod_l_free_dense(&Y, &c);
    cholmod_l_free_dense(&E, &c);
    cholmod_l_free_factor(&LK, &c);
    cholmod_l_free_factor(&LW, &c);
    cholmod_l_free_sparse(&K, &c);
    cholmod_l_free_sparse(&W, &c);
    cholmod_l_finish(&c);
  }

  void uruchom() {
    cholmod_l_start(&c);
    c_uruchomiony = true;
    // Quiet: failures come back as the status and are reported by the
    // program in its own words.
    c.print = 0;
    c.error_handler = nullptr;
    c.try_catch = 0;
    // Every parameter that shapes the factor or the order of its
    // operations, set to fixed values rather than left to the library's
    // defaults: a supernodal factorisation with the given ordering,
    // postordered, with the library's usual amalgamation of supernodes.
    c.supernodal = CHOLMOD_SUPERNODAL;
    c.nmethods = 1;
    c.current = 0;
    c.method[0].ordering = CHOLMOD_GIVEN;
    // AMD's own parameters, read from the current method.
    c.method[0].prune_dense = 10.0;
    c.method[0].aggressive = 1;
    c.postorder = 1;
    c.nrelax[0] = 4;
    c.nrelax[1] = 16;
    c.nrelax[2] = 48;
    c.zrelax[0] = 0.8;
    c.zrelax[1] = 0.1;
    c.zrelax[2] = 0.05;
    c.dbound = 0.0;
    c.final_asis = 1;
    c.quick_return_if_not_posdef = 1;
    c.useGPU = 0;
    c.metis_memory = 0.0;
    c.metis_nswitch = 3000;
    c.metis_dswitch = 0.66;
  }

  // Offset of node row I in node column J (I <= J), -1 when absent.
  std::int32_t w_kolumnie(Indeks I, Indeks J) const {
    const auto* Wp = static_cast<const Indeks*>(W->p);
    const auto* Wi = static_cast<const Indeks*>(W->i);
    const Indeks* a = Wi + Wp[J];
    const Indeks* b = Wi + Wp[J + 1];
    const Indeks* p = std::lower_bound(a, b, I);
    return p != b && *p == I ? static_cast<std::int32_t>(p - a) : -1;
  }
};

UkladRzadki::UkladRzadki() : d_(std::make_unique<Dane>()) {}
UkladRzadki::~UkladRzadki() = default;

namespace {

// The node graph of the elements as the upper triangle of W, diagonal
// included (also for nodes of no element).
cholmod_sparse* wzor_wezlow(const Model& m, cholmod_common& c) {
  const Indeks nn = m.nn;
  // Pairs by column: the smaller node under the larger one.
  std::vector<Indeks> licznik(static_cast<std::size_t>(nn) + 1, 0);
  for (int e = 1; e <= m.ne; ++e) {
    const int a = m.noc[e][1], b = m.noc[e][2], d = m.noc[e][3];
    for (auto [x, y] : {std::pair{a, b}, std::pair{a, d}, std::pair{b, d}})
      if (x != y) ++licznik[static_cast<std::size_t>(std::max(x, y) - 1)];
  }
  std::vector<Indeks> start(static_cast<std::size_t>(nn) + 1, 0);
  for (Indeks j = 0; j < nn; ++j) start[j + 1] = start[j] + licznik[j] + 1;
  std::vector<Indeks> wiersze(static_cast<std::size_t>(start[nn]));
  std::vector<Indeks> poz(start.begin(), start.end() - 1);
  for (int e = 1; e <= m.ne; ++e) {
    const int a = m.noc[e][1], b = m.noc[e][2], d = m.noc[e][3];
    for (auto [x, y] : {std::pair{a, b}, std::pair{a, d}, std::pair{b, d}})
      if (x != y) wiersze[poz[std::max(x, y) - 1]++] = std::min(x, y) - 1;
  }
  for (Indeks j = 0; j < nn; ++j) wiersze[poz[j]++] = j;
  // Sorted and without repeats (poz[j] becomes the end of column j's
  // distinct rows), counted first to allocate exactly.
  Indeks nz = 0;
  for (Indeks j = 0; j < nn; ++j) {
    Indeks* a = wiersze.data() + start[j];
    Indeks* b = wiersze.data() + start[j + 1];
    std::sort(a, b);
    poz[j] = std::unique(a, b) - wiersze.data();
    nz += poz[j] - start[j];
  }
  cholmod_sparse* W = cholmod_l_allocate_sparse(nn, nn, nz, 1, 1, 1, CHOLMOD_REAL, &c);
  if (!W) return nullptr;
  auto* Wp = static_cast<Indeks*>(W->p);
  auto* Wi = static_cast<Indeks*>(W->i);
  Indeks k = 0;
  for (Indeks j = 0; j < nn; ++j) {
    Wp[j] = k;
    for (Indeks p = start[j]; p < poz[j]; ++p) Wi[k++] = wiersze[p];
  }
  Wp[nn] = k;
  return W;
}

// The pattern of K spread from the node pattern W.
cholmod_sparse* wzor_niewiadomych(const cholmod_sparse* W, cholmod_common& c) {
  const Indeks nn = static_cast<Indeks>(W->ncol);
  const auto* Wp = static_cast<const Indeks*>(W->p);
  const auto* Wi = static_cast<const Indeks*>(W->i);
  const Indeks nz = 4 * (Wp[nn] - nn) + 3 * nn;
  cholmod_sparse* K = cholmod_l_allocate_sparse(2 * nn, 2 * nn, nz, 1, 1, 1, CHOLMOD_REAL, &c);
  if (!K) return nullptr;
  auto* Kp = static_cast<Indeks*>(K->p);
  auto* Ki = static_cast<Indeks*>(K->i);
  Indeks k = 0;
  for (Indeks J = 0; J < nn; ++J)
    for (Indeks t = 0; t < 2; ++t) {
      Kp[2 * J + t] = k;
      for (Indeks p = Wp[J]; p < Wp[J + 1]; ++p) {
        const Indeks I = Wi[p];
        Ki[k++] = 2 * I;
        if (I != J || t == 1) Ki[k++] = 2 * I + 1;
      }
    }
  Kp[2 * nn] = k;
  return K;
}

}  // namespace

bool UkladRzadki::przygotuj(Model& m) {
  Dane& d = *d_;
  auto brak_pamieci = [&m] {
    m.blad = kBladPamieci;
    m.blad1 = 0;
    return false;
  };
  try {
    auto t0 = Zegar::now();
    d.uruchom();
    WatkiBibliotek watki;
    // A node of no element without supports in both directions leaves an
    // empty row: the matrix is singular whatever the values, and neither
    // the patterns nor an ordering nor an analysis is worth its time.  The
    // band path's elimination finds the last such row as its last zero
    // pivot; so does this one.
    {
      std::vector<char> w_elemencie(static_cast<std::size_t>(m.nn) + 1, 0);
      std::vector<char> podparty(static_cast<std::size_t>(m.nq) + 1, 0);
      for (int e = 1; e <= m.ne; ++e)
        for (int p = 1; p <= 3; ++p) w_elemencie[static_cast<std::size_t>(m.noc[e][p])] = 1;
      for (int j = 1; j <= m.nd; ++j) podparty[static_cast<std::size_t>(m.nu[j])] = 1;
      for (int k = 1; k <= m.nq; ++k)
        if (!w_elemencie[static_cast<std::size_t>((k + 1) / 2)] && !podparty[static_cast<std::size_t>(k)])
          d.pusty_wiersz = k;
      if (d.pusty_wiersz != 0) return true;
    }

    d.W = wzor_wezlow(m, d.c);
    if (!d.W) return brak_pamieci();
    d.K = wzor_niewiadomych(d.W, d.c);
    if (!d.K) return brak_pamieci();

    // Where each element's node pairs sit in their columns.
    d.pary.assign(3 * static_cast<std::size_t>(m.ne), -1);
    for (int e = 1; e <= m.ne; ++e) {
      const int n[3] = {m.noc[e][1] - 1, m.noc[e][2] - 1, m.noc[e][3] - 1};
      const int pary[3][2] = {{0, 1}, {0, 2}, {1, 2}};
      for (int p = 0; p < 3; ++p) {
        const int a = n[pary[p][0]], b = n[pary[p][1]];
        if (a != b) d.pary[3 * static_cast<std::size_t>(e - 1) + p] = d.w_kolumnie(std::min(a, b), std::max(a, b));
      }
    }

    d.stat.s_wzor = sekundy(t0);

    // The fill-reducing ordering of the nodes, spread to their unknowns.
    t0 = Zegar::now();
    std::vector<Indeks> pw(static_cast<std::size_t>(m.nn)), pk(2 * static_cast<std::size_t>(m.nn));
    const bool metis = porzadek == Porzadek::MetisWezlow || porzadek == Porzadek::MetisNiewiadomych;
    auto uporzadkuj = [&](cholmod_sparse* A, Indeks* P) {
      return metis ? cholmod_l_metis(A, nullptr, 0, 0, P, &d.c) : cholmod_l_amd(A, nullptr, 0, P, &d.c);
    };
    if (!uporzadkuj(d.W, pw.data())) return brak_pamieci();
    if (porzadek == Porzadek::MetisWezlow || porzadek == Porzadek::AmdWezlow) {
      for (std::size_t i = 0; i < pw.size(); ++i) {
        pk[2 * i] = 2 * pw[i];
        pk[2 * i + 1] = 2 * pw[i] + 1;
      }
    } else if (!uporzadkuj(d.K, pk.data())) {
      return brak_pamieci();
    }
    d.stat.s_porzadek = sekundy(t0);
    t0 = Zegar::now();
    d.LK = cholmod_l_analyze_p(d.K, pk.data(), nullptr, 0, &d.c);
    if (!d.LK) return brak_pamieci();
    d.stat.niezerowe_L = d.c.lnz;
    d.stat.operacje = d.c.fl;
    // The factor's numbers and the factorisation's own work space.
    const double bajty_L = static_cast<double>(d.LK->xsize) * sizeof(double);
    d.LW = cholmod_l_analyze_p(d.W, pw.data(), nullptr, 0, &d.c);
    if (!d.LW) return brak_pamieci();
    d.stat.s_analiza = sekundy(t0);
    if (!miesci_sie_w_pamieci(1.1 * bajty_L + static_cast<double>(d.LW->xsize) * sizeof(double)))
      return brak_pamieci();
  } catch (const std::bad_alloc&) {
    return brak_pamieci();
  }
  return true;
}

void UkladRzadki::montuj(Model& m, PracaAnalizy& w) {
  Dane& d = *d_;
  if (d.pusty_wiersz != 0) {
    // No matrix to fill, but the element errors come first, as in the band.
    for (int e = 1; e <= m.ne && sztywnosc_elementu(m, w, e);) ++e;
    if (m.cnst == 0) m.cnst = 1.0e12f;
    return;
  }
  const auto* Kp = static_cast<const Indeks*>(d.K->p);
  auto* Kx = static_cast<double*>(d.K->x);
  std::fill(Kx, Kx + Kp[d.K->ncol], 0.0);
  const auto* Wp = static_cast<const Indeks*>(d.W->p);
  for (int e = 1; e <= m.ne; ++e) {
    if (!sztywnosc_elementu(m, w, e)) break;
    const int wz[4] = {0, m.noc[e][1] - 1, m.noc[e][2] - 1, m.noc[e][3] - 1};
    const std::int32_t* pary = &d.pary[3 * static_cast<std::size_t>(e - 1)];
    // The same entries in the same order as the band assembly: the upper
    // triangle of the element matrix, row by row.
    for (int p = 1; p <= 3; ++p)
      for (int t = 1; t <= 2; ++t) {
        const int i = 2 * (p - 1) + t;
        const Indeks I = wz[p];
        for (int p2 = 1; p2 <= 3; ++p2) {
          const Indeks J = wz[p2];
          if (J < I) continue;
          Indeks q;  // offset of node row I in node column J
          if (J == I) {
            q = Wp[J + 1] - Wp[J] - 1;
          } else {
            const int para = p + p2 == 3 ? 0 : p + p2 == 4 ? 1 : 2;
            q = pary[para];
          }
          for (int t2 = 1; t2 <= 2; ++t2) {
            if (J == I && t2 < t) continue;
            const int j = 2 * (p2 - 1) + t2;
            Kx[Kp[2 * J + t2 - 1] + 2 * q + t - 1] += w.se[i][j];
          }
        }
      }
  }
  if (m.cnst == 0) m.cnst = 1.0e12f;
  if (m.blad != 0) return;
  const double cnst = m.cnst;
  for (int j = 1; j <= m.nd; ++j) {
    const int k = m.nu[j];
    // the diagonal closes its column
    Kx[Kp[k] - 1] += cnst;
    w.fd[k] += cnst * static_cast<double>(m.u[j]);
  }
}

namespace {

// Factorises A into L; false with blad = 1 and blad1 = the (1-based)
// equation of the failed pivot when A is not positive definite, or blad =
// kBladPamieci when the memory ran out.
bool rozloz(cholmod_sparse* A, cholmod_factor* L, cholmod_common& c, Model& m) {
  WatkiBibliotek watki;
  cholmod_l_factorize(A, L, &c);
  if (c.status == CHOLMOD_NOT_POSDEF || (c.status == CHOLMOD_OK && L->minor < L->n)) {
    const auto* perm = static_cast<const Indeks*>(L->Perm);
    const Indeks k = static_cast<Indeks>(std::min(L->minor, L->n - 1));
    m.blad = 1;
    m.blad1 = static_cast<int>((perm ? perm[k] : k) + 1);
    return false;
  }
  if (c.status != CHOLMOD_OK) {
    m.blad = c.status == CHOLMOD_OUT_OF_MEMORY ? kBladPamieci : 1;
    m.blad1 = 0;
    return false;
  }
  return true;
}

// Solves L L' x = b for b = f[1..n]; x replaces it.
bool rozwiaz_z(cholmod_factor* L, double* f, cholmod_dense*& X, cholmod_dense*& Y, cholmod_dense*& E,
               cholmod_common& c, Model& m) {
  cholmod_dense B{};
  B.nrow = L->n;
  B.ncol = 1;
  B.nzmax = L->n;
  B.d = L->n;
  B.x = f + 1;
  B.xtype = CHOLMOD_REAL;
  B.dtype = CHOLMOD_DOUBLE;
  WatkiBibliotek watki;
  if (!cholmod_l_solve2(CHOLMOD_A, L, &B, nullptr, &X, nullptr, &Y, &E, &c)) {
    m.blad = c.status == CHOLMOD_OUT_OF_MEMORY ? kBladPamieci : 1;
    m.blad1 = 0;
    return false;
  }
  std::memcpy(f + 1, X->x, sizeof(double) * L->n);
  return true;
}

}  // namespace

void UkladRzadki::rozwiaz(Model& m, PracaAnalizy& w) {
  Dane& d = *d_;
  if (d.pusty_wiersz != 0) {
    m.blad = 1;
    m.blad1 = d.pusty_wiersz;
    return;
  }
  if (!rozloz(d.K, d.LK, d.c, m)) return;
  rozwiaz_z(d.LK, w.fd.dane(), d.X, d.Y, d.E, d.c, m);
}

void UkladRzadki::wartosci_wezlowe(Model& m, int c, double* f) {
  Dane& d = *d_;
  const Indeks nn = m.nn;
  const auto* Wp = static_cast<const Indeks*>(d.W->p);
  if (!d.LW_gotowy) {
    auto* Wx = static_cast<double*>(d.W->x);
    std::fill(Wx, Wx + Wp[nn], 0.0);
    for (int e = 1; e <= m.ne; ++e) {
      int k[4];
      for (int p = 1; p <= 3; ++p) k[p] = m.noc[e][p];
      const double dj = podwojne_pole(m, k);
      const double a1 = std::fabs(dj) / 24;
      const std::int32_t* pary = &d.pary[3 * static_cast<std::size_t>(e - 1)];
      for (int p = 1; p <= 3; ++p) {
        const Indeks I = k[p] - 1;
        for (int p2 = 1; p2 <= 3; ++p2) {
          const Indeks J = k[p2] - 1;
          if (J < I) continue;
          if (J == I) {
            Wx[Wp[J + 1] - 1] += a1 * (p == p2 ? 2 : 1);
          } else {
            const int para = p + p2 == 3 ? 0 : p + p2 == 4 ? 1 : 2;
            Wx[Wp[J] + pary[para]] += a1;
          }
        }
      }
    }
    // A node of no element gets the value 0.
    for (Indeks j = 0; j < nn; ++j)
      if (Wx[Wp[j + 1] - 1] == 0) Wx[Wp[j + 1] - 1] = 1e-38;
    if (!rozloz(d.W, d.LW, d.c, m)) return;
    d.LW_gotowy = true;
  }
  for (Indeks i = 1; i <= nn; ++i) f[i] = 0;
  for (int e = 1; e <= m.ne; ++e) {
    int k[4];
    for (int p = 1; p <= 3; ++p) k[p] = m.noc[e][p];
    const double dj = podwojne_pole(m, k);
    const double ae = std::fabs(dj) * static_cast<double>(m.napr[e][c]) / 6;
    for (int p = 1; p <= 3; ++p) f[k[p]] += ae;
  }
  rozwiaz_z(d.LW, f, d.X, d.Y, d.E, d.c, m);
}

double UkladRzadki::wartosc(int r, int c) const {
  const Dane& d = *d_;
  if (!d.K) return 0.0;
  if (r > c) std::swap(r, c);
  const auto* Kp = static_cast<const Indeks*>(d.K->p);
  const auto* Ki = static_cast<const Indeks*>(d.K->i);
  const auto* Kx = static_cast<const double*>(d.K->x);
  const Indeks* a = Ki + Kp[c - 1];
  const Indeks* b = Ki + Kp[c];
  const Indeks* p = std::lower_bound(a, b, static_cast<Indeks>(r - 1));
  return p != b && *p == r - 1 ? Kx[p - Ki] : 0.0;
}

UkladRzadki::Statystyka UkladRzadki::statystyka() const { return d_->stat; }
