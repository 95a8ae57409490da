// A platform for the benchmarks: it answers every form with OK (so "Dane
// obliczeń" keeps its presets), shows nothing and keeps quiet.
#pragma once

#include <memory>
#include <string>

#include "app/platform.h"

struct CichaPlatforma : Platform {
  int MessageBox(const std::string&, const std::string&, Ikona, Przyciski) override { return IDOK; }
  int Formularz(::Formularz&) override { return IDOK; }
  bool OtworzPlik(OpisPliku&) override { return false; }
  bool ZapiszPlik(OpisPliku&) override { return false; }
  void UstawTytul(const std::string&) override {}
  void UstawKursor(Kursor) override {}
  void Odswiez() override {}
  void Zamknij() override {}
  void OtworzDokument(const std::string&) override {}
  int PokazOkno(std::unique_ptr<OknoTabeli>) override { return 0; }
  void ZniszczOkno(int) override {}
  bool OknoOtwarte(int) const override { return false; }
  void UstawWspolrzedne(const std::string&) override {}
};
