// Owning wrappers over the allocation routines of pom_mac.
//
// Wektor<T> and Macierz<T> hold one array made by wektor/iwektor/dwektor or
// macierz/imacierz/dmacierz together with its bounds, release it when they
// are re-allocated or destroyed, and index it with exactly the bounds it was
// made with.  Builds with SKORBA_BOUNDS (Debug and the sanitizer build)
// check every index and abort on the first one outside the range.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "model/pom_mac.h"

#ifdef SKORBA_BOUNDS
#define SKORBA_SPRAWDZ(warunek, i, lo, hi)                                                   \
  do {                                                                                       \
    if (!(warunek)) {                                                                        \
      std::fprintf(stderr, "indeks %ld poza zakresem %ld..%ld (%s:%d)\n", (long)(i), (long)(lo), \
                   (long)(hi), __FILE__, __LINE__);                                          \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)
#else
#define SKORBA_SPRAWDZ(warunek, i, lo, hi) ((void)0)
#endif

namespace tablice {

inline float* nowy(float*, long lo, long hi) { return pom_mac::wektor(lo, hi); }
inline int* nowy(int*, long lo, long hi) { return pom_mac::iwektor(lo, hi); }
inline double* nowy(double*, long lo, long hi) { return pom_mac::dwektor(lo, hi); }
inline void usun(float* v, long lo, long hi) { pom_mac::uwolnij_wektor(v, lo, hi); }
inline void usun(int* v, long lo, long hi) { pom_mac::uwolnij_iwektor(v, lo, hi); }
inline void usun(double* v, long lo, long hi) { pom_mac::uwolnij_dwektor(v, lo, hi); }
inline float** nowa(float**, long rl, long rh, long cl, long ch) {
  return pom_mac::macierz(rl, rh, cl, ch);
}
inline int** nowa(int**, long rl, long rh, long cl, long ch) {
  return pom_mac::imacierz(rl, rh, cl, ch);
}
inline double** nowa(double**, long rl, long rh, long cl, long ch) {
  return pom_mac::dmacierz(rl, rh, cl, ch);
}
inline void usun(float** m, long rl, long rh, long cl, long ch) {
  pom_mac::uwolnij_macierz(m, rl, rh, cl, ch);
}
inline void usun(int** m, long rl, long rh, long cl, long ch) {
  pom_mac::uwolnij_imacierz(m, rl, rh, cl, ch);
}
inline void usun(double** m, long rl, long rh, long cl, long ch) {
  pom_mac::uwolnij_dmacierz(m, rl, rh, cl, ch);
}

}  // namespace tablice

template <class T>
class Wektor {
 public:
  Wektor() = default;
  Wektor(long lo, long hi) { przydziel(lo, hi); }
  ~Wektor() { zwolnij(); }
  Wektor(const Wektor&) = delete;
  Wektor& operator=(const Wektor&) = delete;
  Wektor(Wektor&& o) noexcept { zamien(o); }
  Wektor& operator=(Wektor&& o) noexcept {
    if (this != &o) {
      zwolnij();
      zamien(o);
    }
    return *this;
  }

  // Releases the present array (if any) and allocates lo..hi, all zero.
  void przydziel(long lo, long hi) {
    zwolnij();
    v_ = tablice::nowy(static_cast<T*>(nullptr), lo, hi);
    lo_ = lo;
    hi_ = hi;
  }
  void zwolnij() {
    if (v_) tablice::usun(v_, lo_, hi_);
    v_ = nullptr;
    lo_ = 1;
    hi_ = 0;
  }

  bool istnieje() const { return v_ != nullptr; }
  long lo() const { return lo_; }
  long hi() const { return hi_; }

  // A copy with the same bounds; an absent array gives an absent one.
  Wektor kopia() const {
    Wektor k;
    if (v_) {
      k.przydziel(lo_, hi_);
      std::copy(v_ + lo_, v_ + hi_ + 1, k.v_ + lo_);
    }
    return k;
  }

  T& operator[](long i) {
    SKORBA_SPRAWDZ(v_ && i >= lo_ && i <= hi_, i, lo_, hi_);
    return v_[i];
  }
  const T& operator[](long i) const {
    SKORBA_SPRAWDZ(v_ && i >= lo_ && i <= hi_, i, lo_, hi_);
    return v_[i];
  }
  // The raw pointer, indexed with the same numbers (for inner loops).
  T* dane() { return v_; }
  const T* dane() const { return v_; }

 private:
  void zamien(Wektor& o) {
    std::swap(v_, o.v_);
    std::swap(lo_, o.lo_);
    std::swap(hi_, o.hi_);
  }
  T* v_ = nullptr;
  long lo_ = 1, hi_ = 0;
};

template <class T>
class Macierz {
 public:
  // One row of a matrix; checks the column in bounds-checked builds.
  class Wiersz {
   public:
    Wiersz(T* p, [[maybe_unused]] long cl, [[maybe_unused]] long ch)
        : p_(p)
#ifdef SKORBA_BOUNDS
          ,
          cl_(cl),
          ch_(ch)
#endif
    {
    }
    T& operator[](long j) const {
      SKORBA_SPRAWDZ(j >= cl_ && j <= ch_, j, cl_, ch_);
      return p_[j];
    }
    T* dane() const { return p_; }

   private:
    T* p_;
#ifdef SKORBA_BOUNDS
    long cl_, ch_;
#endif
  };

  Macierz() = default;
  Macierz(long rl, long rh, long cl, long ch) { przydziel(rl, rh, cl, ch); }
  ~Macierz() { zwolnij(); }
  Macierz(const Macierz&) = delete;
  Macierz& operator=(const Macierz&) = delete;
  Macierz(Macierz&& o) noexcept { zamien(o); }
  Macierz& operator=(Macierz&& o) noexcept {
    if (this != &o) {
      zwolnij();
      zamien(o);
    }
    return *this;
  }

  void przydziel(long rl, long rh, long cl, long ch) {
    zwolnij();
    m_ = tablice::nowa(static_cast<T**>(nullptr), rl, rh, cl, ch);
    rl_ = rl;
    rh_ = rh;
    cl_ = cl;
    ch_ = ch;
  }
  void zwolnij() {
    if (m_) tablice::usun(m_, rl_, rh_, cl_, ch_);
    m_ = nullptr;
    rl_ = cl_ = 1;
    rh_ = ch_ = 0;
  }

  bool istnieje() const { return m_ != nullptr; }
  long rl() const { return rl_; }
  long rh() const { return rh_; }
  long cl() const { return cl_; }
  long ch() const { return ch_; }

  // A copy with the same bounds (the rows lie in one block); an absent
  // matrix gives an absent one.
  Macierz kopia() const {
    Macierz k;
    if (m_) {
      k.przydziel(rl_, rh_, cl_, ch_);
      if (rh_ >= rl_ && ch_ >= cl_) {
        const long n = (rh_ - rl_ + 1) * (ch_ - cl_ + 1);
        std::copy(&m_[rl_][cl_], &m_[rl_][cl_] + n, &k.m_[rl_][cl_]);
      }
    }
    return k;
  }

  Wiersz operator[](long i) {
    SKORBA_SPRAWDZ(m_ && i >= rl_ && i <= rh_, i, rl_, rh_);
    return Wiersz(m_[i], cl_, ch_);
  }
  const Wiersz operator[](long i) const {
    SKORBA_SPRAWDZ(m_ && i >= rl_ && i <= rh_, i, rl_, rh_);
    return Wiersz(m_[i], cl_, ch_);
  }
  T** dane() { return m_; }
  T* const* dane() const { return m_; }

 private:
  void zamien(Macierz& o) {
    std::swap(m_, o.m_);
    std::swap(rl_, o.rl_);
    std::swap(rh_, o.rh_);
    std::swap(cl_, o.cl_);
    std::swap(ch_, o.ch_);
  }
  T** m_ = nullptr;
  long rl_ = 1, rh_ = 0, cl_ = 1, ch_ = 0;
};
