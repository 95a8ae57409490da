// Allocation routines for 1-based (or any-based) vectors and matrices.
//
// Every array of the model is addressed with the model's own index numbers:
// a vector made with wektor(nl, nh) is valid at v[nl]..v[nh], a matrix made
// with macierz(nrl, nrh, ncl, nch) at m[nrl..nrh][ncl..nch].  Each block has
// one spare element in front of index nl (resp. of row nrl and column ncl);
// matrix rows lie contiguously, row-major, in one data block.
//
// A routine that cannot get its memory prints three lines to standard error
// (code page 852, as a console expects them) and ends the process with
// status 1.  Release needs the low bounds only; the high bounds are ignored.
#pragma once

#include <cstdint>

namespace pom_mac {

float* wektor(long nl, long nh);
int* iwektor(long nl, long nh);
unsigned char* cwektor(long nl, long nh);
unsigned long* lwektor(long nl, long nh);
double* dwektor(long nl, long nh);
float** macierz(long nrl, long nrh, long ncl, long nch);
int** imacierz(long nrl, long nrh, long ncl, long nch);
double** dmacierz(long nrl, long nrh, long ncl, long nch);

void uwolnij_wektor(float* v, long nl, long nh);
void uwolnij_iwektor(int* v, long nl, long nh);
void uwolnij_cwektor(unsigned char* v, long nl, long nh);
void uwolnij_lwektor(unsigned long* v, long nl, long nh);
void uwolnij_dwektor(double* v, long nl, long nh);
void uwolnij_macierz(float** m, long nrl, long nrh, long ncl, long nch);
void uwolnij_imacierz(int** m, long nrl, long nrh, long ncl, long nch);
void uwolnij_dmacierz(double** m, long nrl, long nrh, long ncl, long nch);

// Writes the three-line failure report for `komunikat` (UTF-8) to standard
// error in code page 852 and exits with status 1.
[[noreturn]] void blad_alokacji(const char* komunikat);

// UTF-8 to code page 852 for the console texts above (Polish letters only;
// other non-ASCII characters become '?').
std::uint8_t* na_cp852(const char* utf8, std::uint8_t* out, int cap);

}  // namespace pom_mac
