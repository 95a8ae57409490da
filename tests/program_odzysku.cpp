// A program that the recovery test kills: it keeps a recovery file in the
// folder it is given, makes one change, lets the timer write the copy, sends
// the copy's size and bytes to standard output and waits to be killed.
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "app/okno.h"
#include "model/plik.h"

namespace {

// Answers every form with OK; the node form with the point (2.5, 1).
struct Platforma : Platform {
  int MessageBox(const std::string&, const std::string&, Ikona, Przyciski) override { return IDYES; }
  int Formularz(::Formularz& f) override {
    if (f.zasob == 3020) zastosuj_odpowiedz(f, {{"x", "2.5"}, {"y", "1"}});
    return IDOK;
  }
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  Model m;
  Platforma p;
  _OKNO_ okno(m, p);
  if (!okno.WlaczOdzysk(argv[1])) return 1;
  okno.Cm_Nowy();
  okno.Cm_d_wez();
  okno.EvTimer();
  const auto b = zapisz_model(m);
  const std::uint64_t n = b.size();
  if (std::fwrite(&n, sizeof n, 1, stdout) != 1 || std::fwrite(b.data(), 1, n, stdout) != n) return 1;
  std::fflush(stdout);
  for (;;) ::pause();
}
