// The banded elimination of Obl0 in blocks, with its vector kernels and
// threads.
//
// Every entry of the band receives the same multipliers and the same
// subtractions, one rounding each, in the same order as in the row-by-row
// elimination (Obl0_wzorcowy in silnik.h): the result is the same to the
// last bit whatever the kernel, the block size or the number of threads.
//
// The forward elimination goes by panels of 16 to 48 pivot rows (more for
// wider bands: each pass over the trailing band then serves more pivots,
// while the elimination within a panel grows with it).  A panel is
// first eliminated within itself (in steps of a few pivots); its
// multipliers are then applied to the rows below it (the trailing band) by
// a kernel that loads each target entry once, subtracts the products of the
// panel's pivot rows one after another in pivot order and stores it once.
// With two threads the rows are dealt out in panel-sized blocks, every
// other block to each thread for the whole elimination, so the rows a
// thread updates never move to the other core; the owner of the next panel
// updates it first and eliminates it while its partner goes on.  The back
// substitution is one chain of dependent subtractions per row and stays
// sequential.
#pragma once

#include <atomic>

// The largest panel.
inline constexpr int kMaksPanel = 48;

// The vector kernels: baseline x86-64 (SSE2, two doubles), AVX2 (four
// doubles) and the AVX2 arithmetic in the larger register block that
// AVX-512VL's 32 registers hold; chosen at run time by what the processor
// has.  None uses fused multiply-add.
enum class JadroObl0 { Podstawowe, Avx2, Avx512 };

bool jadro_dostepne(JadroObl0 j);
// The best kernel the processor supports.
JadroObl0 jadro_domyslne();
const char* nazwa_jadra(JadroObl0 j);

struct UstawieniaObl0 {
  JadroObl0 jadro = JadroObl0::Podstawowe;
  int watki = 1;
  // Bands narrower than this are eliminated row by row (the blocks cost
  // more than they save there); 0 takes the blocks for every band.
  int min_blok = 24;
  // Bands narrower than this use one thread whatever `watki` says.
  int min_watki = 160;
  // Pivots per panel (1..kMaksPanel); 0 chooses by the band width.
  int panel = 0;
  // When set, the elimination looks at it before every panel (every 1024
  // rows without panels) and gives up once it reads true.
  const std::atomic<bool>* przerwij = nullptr;
};

// The settings Obl0 uses: the default kernel and watki_obliczen() threads.
UstawieniaObl0 ustawienia_obl0();

// Obl0 with explicit settings (an unavailable kernel falls back to the
// baseline one).  False when it gave up through u.przerwij: s and f then
// hold a half-done elimination, and blad / blad1 mean nothing.
bool Obl0_z(double* const* s, double* f, int nq, int nbw, int& blad, int& blad1, const UstawieniaObl0& u);
