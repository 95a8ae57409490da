#include "app/odzysk.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "model/plik.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kPrzedrostek = "odzysk-";

// The name shared by the files of one program: the part before the first dot.
std::string rdzen(const std::string& nazwa) { return nazwa.substr(0, nazwa.find('.')); }

// Opens (creating) a lock file and takes its lock without waiting; -1 when
// another process holds it or it cannot be opened.
int zablokuj(const std::string& sciezka, bool nowy) {
  const int fd = ::open(sciezka.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (nowy ? O_EXCL : 0), 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string PlikOdzysku::katalog_domyslny() {
  // Relative paths in the variables are to be ignored.
  if (const char* s = std::getenv("XDG_STATE_HOME"); s && s[0] == '/') return std::string(s) + "/skorba-n";
  if (const char* h = std::getenv("HOME"); h && h[0] == '/') return std::string(h) + "/.local/state/skorba-n";
  return {};
}

PlikOdzysku::~PlikOdzysku() {
  if (blokada_ < 0) return;
  ::unlink(plik_.c_str());
  ::unlink(blokada_plik_.c_str());
  ::close(blokada_);
}

bool PlikOdzysku::Otworz(const std::string& katalog) {
  if (blokada_ >= 0 || katalog.empty()) return false;
  std::error_code ec;
  fs::create_directories(fs::path(katalog).parent_path(), ec);
  // The copies hold the user's work: the folder is the user's alone.
  if (::mkdir(katalog.c_str(), 0700) != 0 && errno != EEXIST) return false;
  const std::string rdzen_nazwy = katalog + "/" + kPrzedrostek + std::to_string(::getpid()) + "-" +
                                  std::to_string(static_cast<long long>(std::time(nullptr)));
  for (int i = 0; i < 100 && blokada_ < 0; ++i) {
    const std::string r = i == 0 ? rdzen_nazwy : rdzen_nazwy + "-" + std::to_string(i);
    const int fd = zablokuj(r + ".lock", true);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    blokada_ = fd;
    blokada_plik_ = r + ".lock";
    plik_ = r + ".SKD";
  }
  katalog_ = katalog;
  return blokada_ >= 0;
}

bool PlikOdzysku::Zapisz(const void* dane, std::size_t rozmiar) {
  return blokada_ >= 0 && zapisz_plik_atomowo(plik_, dane, rozmiar);
}

void PlikOdzysku::Usun() {
  if (blokada_ >= 0) ::unlink(plik_.c_str());
}

PlikOdzysku::Porzucony::Porzucony(Porzucony&& o) noexcept
    : plik(std::move(o.plik)), blokada(std::move(o.blokada)), czas(o.czas), fd(o.fd) {
  o.fd = -1;
}

PlikOdzysku::Porzucony& PlikOdzysku::Porzucony::operator=(Porzucony&& o) noexcept {
  if (this != &o) {
    if (fd >= 0) ::close(fd);
    plik = std::move(o.plik);
    blokada = std::move(o.blokada);
    czas = o.czas;
    fd = o.fd;
    o.fd = -1;
  }
  return *this;
}

PlikOdzysku::Porzucony::~Porzucony() {
  if (fd >= 0) ::close(fd);
}

std::vector<PlikOdzysku::Porzucony> PlikOdzysku::Porzucone() {
  std::vector<Porzucony> wynik;
  if (blokada_ < 0) return wynik;
  // The programs that have (or had) files here, by the common part of
  // their names.
  std::set<std::string> rdzenie;
  std::error_code ec;
  for (fs::directory_iterator it(katalog_, ec), koniec; !ec && it != koniec; it.increment(ec)) {
    const std::string nazwa = it->path().filename().string();
    if (nazwa.rfind(kPrzedrostek, 0) == 0) rdzenie.insert(rdzen(nazwa));
  }
  const std::string wlasny = rdzen(fs::path(plik_).filename().string());
  for (const std::string& r : rdzenie) {
    if (r == wlasny) continue;
    const std::string baza = katalog_ + "/" + r;
    Porzucony p;
    p.fd = zablokuj(baza + ".lock", false);
    if (p.fd < 0) continue;  // its program still runs
    p.plik = baza + ".SKD";
    p.blokada = baza + ".lock";
    struct stat st {};
    if (::stat(p.plik.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      p.czas = st.st_mtime;
      wynik.push_back(std::move(p));
      continue;
    }
    // Nothing to offer: the lock file, and any half-written copy a killed
    // program left, are tidied away.
    for (fs::directory_iterator it(katalog_, ec), koniec; !ec && it != koniec; it.increment(ec)) {
      const std::string nazwa = it->path().filename().string();
      if (rdzen(nazwa) == r && nazwa != r + ".lock") fs::remove(it->path(), ec);
    }
    ::unlink(p.blokada.c_str());
  }
  std::sort(wynik.begin(), wynik.end(), [](const Porzucony& a, const Porzucony& b) { return a.czas > b.czas; });
  return wynik;
}

bool PlikOdzysku::Przejmij(Porzucony& p) {
  if (blokada_ < 0 || std::rename(p.plik.c_str(), plik_.c_str()) != 0) return false;
  ::unlink(p.blokada.c_str());
  ::close(p.fd);
  p.fd = -1;
  return true;
}

void PlikOdzysku::Odrzuc(Porzucony& p) {
  ::unlink(p.plik.c_str());
  ::unlink(p.blokada.c_str());
  if (p.fd >= 0) ::close(p.fd);
  p.fd = -1;
}
