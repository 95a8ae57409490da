// The model and its results as a VTK XML unstructured grid (.vtu), the
// format ParaView and most post-processors read.
//
// Points are the nodes (x, y, 0) in node order, cells the elements as VTK
// triangles in element order.  Every array is written as base64 of the raw
// little-endian values behind a 64-bit byte count, so a reader gets the
// store's 32-bit floats bit for bit, at a third of the size of text and
// without any number formatting.  Array names follow the words of the
// results report, without Polish letters and spaces, so that they can be
// typed into a calculator expression or a script of any reader.
#pragma once

#include <string>

#include "model/model.h"

// What the analysis leaves outside the store: the steps it started and the
// change of the last step in per cent.
struct PrzebiegVtu {
  int kroki = 0;
  float zmiana = 0.0f;
};

namespace vtu {
// cell data
inline constexpr const char* kMaterial = "Material";
inline constexpr const char* kNaprEl[4] = {"Naprezenia_w_elementach_x", "Naprezenia_w_elementach_y",
                                           "Naprezenia_w_elementach_styczne", "Naprezenia_w_elementach_Hubera"};
inline constexpr const char* kModulSieczny = "Modul_sieczny";
// point data
inline constexpr const char* kPrzemieszczenia = "Przemieszczenia_wezlow";
inline constexpr const char* kNaprWez[4] = {"Naprezenia_w_wezlach_x", "Naprezenia_w_wezlach_y",
                                            "Naprezenia_w_wezlach_styczne", "Naprezenia_w_wezlach_Hubera"};
inline constexpr const char* kPodpory = "Podpory";
inline constexpr const char* kZadane = "Przemieszczenia_zadane";
inline constexpr const char* kSily = "Sily";
inline constexpr const char* kReakcje = "Reakcje_w_podporach";
// field data
inline constexpr const char* kGrubosc = "Grubosc_tarczy";
inline constexpr const char* kKroki = "Liczba_krokow";
inline constexpr const char* kZmiana = "Zmiana_w_ostatnim_kroku_procent";
}  // namespace vtu

// The whole file.  Always: points, cells, material of each element,
// restraint flags (X, Y: 1 restrained), prescribed displacements and forces
// per node, thickness.  With results (m.obliczono == 1) also: element and
// nodal stresses, the secant modulus of each element, displacements and
// reactions per node, and, when `przebieg` is given, the number of steps and
// the last change.
std::string tekst_vtu(const Model& m, const PrzebiegVtu* przebieg = nullptr);
