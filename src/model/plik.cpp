#include "model/plik.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

namespace {

// Largest column count accepted for Ez/Sprz.  A count that no file size can
// back (with nm = 0) would otherwise only bite later, when the next material
// is added and allocates that many columns.
constexpr std::int64_t kMaxPrz = 1000000;

class Czytnik {
 public:
  Czytnik(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
  bool i32(int& v) {
    std::uint32_t u;
    if (!bajty(&u)) return false;
    v = static_cast<int>(u);
    return true;
  }
  bool f32(float& v) {
    std::uint32_t u;
    if (!bajty(&u)) return false;
    std::memcpy(&v, &u, 4);
    return true;
  }

 private:
  bool bajty(std::uint32_t* u) {
    if (n_ - p_ < 4) return false;
    *u = static_cast<std::uint32_t>(d_[p_]) | static_cast<std::uint32_t>(d_[p_ + 1]) << 8 |
         static_cast<std::uint32_t>(d_[p_ + 2]) << 16 | static_cast<std::uint32_t>(d_[p_ + 3]) << 24;
    p_ += 4;
    return true;
  }
  const std::uint8_t* d_;
  std::size_t n_, p_ = 0;
};

class Pisarz {
 public:
  void i32(int v) { u32(static_cast<std::uint32_t>(v)); }
  void f32(float v) {
    std::uint32_t u;
    std::memcpy(&u, &v, 4);
    u32(u);
  }
  std::vector<std::uint8_t> wynik;

 private:
  void u32(std::uint32_t u) {
    for (int i = 0; i < 4; ++i) wynik.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
  }
};

}  // namespace

std::int64_t rozmiar_pliku_modelu(std::int64_t ne, std::int64_t nn, std::int64_t nd, std::int64_t nm,
                                  std::int64_t maxpr) {
  if (ne < 0 || nn < 0 || nd < 0 || nm < 0 || maxpr < 0) return 0;
  return 28 + 16 * ne + 16 * nn + 12 * nm + 8 * nd + 8 * nm * maxpr;
}

std::vector<std::uint8_t> zapisz_model(const Model& m) {
  Pisarz w;
  w.wynik.reserve(static_cast<std::size_t>(rozmiar_pliku_modelu(m.ne, m.nn, m.nd, m.nm, m.maxpr)));
  w.i32(m.ne);
  w.i32(m.nn);
  w.i32(m.nd);
  w.i32(m.nl);
  w.i32(m.nm);
  w.f32(m.th);
  w.i32(m.maxpr);
  for (int e = 1; e <= m.ne; ++e)
    for (int k = 1; k <= 3; ++k) w.i32(m.noc[e][k]);
  for (int e = 1; e <= m.ne; ++e) w.i32(m.mat[e]);
  for (int k = 1; k <= m.nn; ++k) {
    w.f32(m.x[k][1]);
    w.f32(m.x[k][2]);
  }
  for (int i = 1; i <= m.nm; ++i) {
    w.f32(m.pm[i][1]);
    w.f32(m.pm[i][2]);
  }
  for (int j = 1; j <= m.nd; ++j) w.i32(m.nu[j]);
  for (int j = 1; j <= m.nd; ++j) w.f32(m.u[j]);
  // Interval tables: every column of every material.  A table that does
  // not exist (cannot happen in a consistent store) is written as zeros so
  // that the file still has the size its header announces.
  const bool przedzialy = m.nm > 0 && m.Sprz.istnieje() && m.Ez.istnieje() && m.Prz.istnieje() &&
                          m.Sprz.ch() >= m.maxpr && m.Ez.ch() >= m.maxpr;
  for (int i = 1; i <= m.nm; ++i)
    for (int j = 1; j <= m.maxpr; ++j) w.f32(przedzialy ? m.Sprz[i][j] : 0.0f);
  for (int i = 1; i <= m.nm; ++i)
    for (int j = 1; j <= m.maxpr; ++j) w.f32(przedzialy ? m.Ez[i][j] : 0.0f);
  for (int i = 1; i <= m.nm; ++i) w.i32(przedzialy ? m.Prz[i] : 0);
  for (int i = 1; i <= m.nq; ++i) w.f32(m.si[i]);
  return std::move(w.wynik);
}

namespace {

// The reader of both: `obraz` accepts a model without nodes and numbers that
// are not finite.
bool wczytaj(const std::uint8_t* dane, std::size_t rozmiar, Model& m, bool obraz) {
  Czytnik r(dane, rozmiar);
  int ne, nn, nd, nl, nm, maxpr;
  float th;
  if (!r.i32(ne) || !r.i32(nn) || !r.i32(nd) || !r.i32(nl) || !r.i32(nm) || !r.f32(th) || !r.i32(maxpr))
    return false;
  if (nn < (obraz ? 0 : 1) || ne < 0 || nd < 0 || nl < 0 || nm < 0 || maxpr < 0 || maxpr > kMaxPrz) return false;
  if (nm > 0 && maxpr < 1) return false;
  auto liczba = [obraz](float v) { return obraz || std::isfinite(v); };
  if (!liczba(th)) return false;
  if (nn > (1 << 29)) return false;  // 2*nn must stay an int
  // Every section must be backed by bytes of the file before anything is
  // allocated for it.
  const std::int64_t potrzeba = rozmiar_pliku_modelu(ne, nn, nd, nm, maxpr);
  if (potrzeba <= 0 || static_cast<std::uint64_t>(potrzeba) > rozmiar) return false;

  Model t;
  t.ne = ne;
  t.nn = nn;
  t.nq = 2 * nn;
  t.nd = nd;
  t.nl = nl;
  t.nm = nm;
  t.th = th;
  t.maxpr = maxpr;
  if (nn > 0) t.x.przydziel(1, nn, 1, 2);
  if (ne > 0) {
    t.noc.przydziel(1, ne, 1, 3);
    t.mat.przydziel(1, ne);
    t.napr.przydziel(1, ne, 1, 4);
  }
  if (nm > 0) {
    t.pm.przydziel(1, nm, 1, 2);
    t.Sprz.przydziel(1, nm, 1, maxpr);
    t.Ez.przydziel(1, nm, 1, maxpr);
    t.Prz.przydziel(1, nm);
  }
  if (nn > 0) t.ww.przydziel(1, t.nq, 1, 4);
  if (nd > 0) {
    t.nu.przydziel(1, nd);
    t.u.przydziel(1, nd);
    t.react.przydziel(1, nd);
  }
  if (nn > 0) {
    t.si.przydziel(1, t.nq);
    t.f.przydziel(1, t.nq);
  }

  bool ok = true;
  for (int e = 1; e <= ne && ok; ++e)
    for (int k = 1; k <= 3 && ok; ++k) ok = r.i32(t.noc[e][k]) && t.noc[e][k] >= 1 && t.noc[e][k] <= nn;
  for (int e = 1; e <= ne && ok; ++e) ok = r.i32(t.mat[e]) && t.mat[e] >= 1 && t.mat[e] <= nm;
  for (int k = 1; k <= nn && ok; ++k)
    ok = r.f32(t.x[k][1]) && r.f32(t.x[k][2]) && liczba(t.x[k][1]) && liczba(t.x[k][2]);
  // pm[m][1] is carried along unread; only the Poisson's ratio must be a number.
  for (int i = 1; i <= nm && ok; ++i) ok = r.f32(t.pm[i][1]) && r.f32(t.pm[i][2]) && liczba(t.pm[i][2]);
  for (int j = 1; j <= nd && ok; ++j) ok = r.i32(t.nu[j]) && t.nu[j] >= 1 && t.nu[j] <= t.nq;
  for (int j = 1; j <= nd && ok; ++j) ok = r.f32(t.u[j]) && liczba(t.u[j]);
  for (int i = 1; i <= nm && ok; ++i)
    for (int j = 1; j <= maxpr && ok; ++j) ok = r.f32(t.Sprz[i][j]);
  for (int i = 1; i <= nm && ok; ++i)
    for (int j = 1; j <= maxpr && ok; ++j) ok = r.f32(t.Ez[i][j]);
  for (int i = 1; i <= nm && ok; ++i) ok = r.i32(t.Prz[i]) && t.Prz[i] >= 1 && t.Prz[i] <= maxpr;
  // Columns beyond a material's own interval count carry no meaning (and
  // may hold anything in older files); the used ones must be numbers.
  for (int i = 1; i <= nm && ok; ++i)
    for (int j = 1; j <= t.Prz[i] && ok; ++j) ok = liczba(t.Sprz[i][j]) && liczba(t.Ez[i][j]);
  for (int i = 1; i <= t.nq && ok; ++i) {
    ok = r.f32(t.si[i]) && liczba(t.si[i]);
    if (ok) t.f[i] = t.si[i];
  }
  if (!ok) return false;

  przydziel_robocze(t);
  zwolnij_tablice(m);
  m.ne = t.ne;
  m.nn = t.nn;
  m.nq = t.nq;
  m.nd = t.nd;
  m.nl = t.nl;
  m.nm = t.nm;
  m.th = t.th;
  m.maxpr = t.maxpr;
  m.nbw = 0;
  m.x = std::move(t.x);
  m.noc = std::move(t.noc);
  m.mat = std::move(t.mat);
  m.pm = std::move(t.pm);
  m.Prz = std::move(t.Prz);
  m.Ez = std::move(t.Ez);
  m.Sprz = std::move(t.Sprz);
  m.nu = std::move(t.nu);
  m.u = std::move(t.u);
  m.si = std::move(t.si);
  m.f = std::move(t.f);
  m.react = std::move(t.react);
  m.napr = std::move(t.napr);
  m.ww = std::move(t.ww);
  m.d = std::move(t.d);
  m.b = std::move(t.b);
  m.db = std::move(t.db);
  m.se = std::move(t.se);
  m.q = std::move(t.q);
  m.str = std::move(t.str);
  return true;
}

}  // namespace

bool wczytaj_model(const std::uint8_t* dane, std::size_t rozmiar, Model& m) {
  return wczytaj(dane, rozmiar, m, false);
}

bool wczytaj_obraz_modelu(const std::uint8_t* dane, std::size_t rozmiar, Model& m) {
  return wczytaj(dane, rozmiar, m, true);
}

bool czytaj_plik(const std::string& sciezka, std::vector<std::uint8_t>& dane) {
  dane.clear();
  // Opened without blocking: a pipe chosen by mistake must not wait for a
  // writer, and a file of /proc that has nothing to read (such as the kernel
  // log) must give an error instead of waiting for the next message.
  const int fd = open(sciezka.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  std::uint8_t buf[65536];
  while (ok) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    dane.insert(dane.end(), buf, buf + n);
  }
  close(fd);
  if (!ok) dane.clear();
  return ok;
}

namespace {

// Writes all of the data to fd: short writes continue, interrupted ones are
// repeated.
bool zapisz_wszystko(int fd, const void* dane, std::size_t rozmiar) {
  const auto* p = static_cast<const char*>(dane);
  while (rozmiar > 0) {
    const ssize_t n = write(fd, p, rozmiar);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    rozmiar -= static_cast<std::size_t>(n);
  }
  return true;
}

// Writes into an existing file through its own name: a device or a pipe
// (which cannot be replaced), or a regular file whose folder takes no new
// files.  A regular file is not truncated before the data is written, so
// that a file saved over itself on a full disk reuses its own blocks; it is
// cut to the new length afterwards.
bool zapisz_w_miejscu(const std::string& sciezka, const void* dane, std::size_t rozmiar) {
  const int fd = open(sciezka.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode) && zapisz_wszystko(fd, dane, rozmiar);
  if (ok && S_ISREG(st.st_mode)) {
    if (st.st_size > static_cast<off_t>(rozmiar)) ok = ftruncate(fd, static_cast<off_t>(rozmiar)) == 0;
    // EINVAL: a file that cannot be synced (a file of /proc or /sys).
    if (ok && fsync(fd) != 0 && errno != EINVAL) ok = false;
  }
  if (close(fd) != 0) ok = false;
  return ok;
}

// The file a path finally names: symbolic links are followed one by one (a
// relative link is read from the link's own folder), so that a link whose
// target does not exist yet yields the target to create.  Empty for a chain
// of links that does not end.
std::string cel_dowiazan(const std::string& sciezka) {
  std::filesystem::path p = sciezka;
  for (int i = 0; i < 40; ++i) {
    struct stat st {};
    if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p.string();
    std::error_code ec;
    const std::filesystem::path cel = std::filesystem::read_symlink(p, ec);
    if (ec) return {};
    p = p.parent_path() / cel;
  }
  return {};
}

// The folder of a path, for syncing it after a rename.
std::string folder(const std::string& sciezka) {
  const auto p = std::filesystem::path(sciezka).parent_path();
  return p.empty() ? std::string(".") : p.string();
}

}  // namespace

bool zapisz_plik_atomowo(const std::string& sciezka, const void* dane, std::size_t rozmiar) {
  if (sciezka.empty()) return false;
  struct stat st {};
  const bool istnieje = stat(sciezka.c_str(), &st) == 0;
  if (!istnieje && errno != ENOENT) return false;
  // A device, a pipe or a socket is written into; it is never replaced.
  if (istnieje && !S_ISREG(st.st_mode)) return !S_ISDIR(st.st_mode) && zapisz_w_miejscu(sciezka, dane, rozmiar);

  // A symbolic link keeps pointing at the saved file: the file replaced (or
  // created, for a dangling link) is the link's final target.
  std::string cel = cel_dowiazan(sciezka);
  if (cel.empty()) return false;
  if (istnieje) {
    struct stat sc {};
    // A link that does not name a path, such as /dev/stdout of a process
    // whose output goes to a deleted file, is written through.
    if (stat(cel.c_str(), &sc) != 0 || sc.st_dev != st.st_dev || sc.st_ino != st.st_ino)
      return zapisz_w_miejscu(sciezka, dane, rozmiar);
    // A file its owner made read-only is not replaced behind their back:
    // saving over it fails, as opening it for writing would.
    if (faccessat(AT_FDCWD, cel.c_str(), W_OK, AT_EACCESS) != 0) return false;
  }

  std::string wzor = cel + ".XXXXXX";
  std::vector<char> nazwa(wzor.begin(), wzor.end());
  nazwa.push_back('\0');
  const int fd = mkostemp(nazwa.data(), O_CLOEXEC);
  if (fd < 0) {
    // The folder takes no new file (no write permission, or a name too long
    // for the temporary suffix): the existing file is written in place,
    // the one case that cannot be all or nothing.
    return istnieje && zapisz_w_miejscu(cel, dane, rozmiar);
  }
  // mkstemp creates the file with mode 0600 and as its own user; give it the
  // owner and mode of the file it replaces (an owner only root can give), or
  // the usual mode of a new file.
  mode_t tryb;
  if (istnieje) {
    // Only root can give a file away; anybody else keeps their own owner,
    // and the refusal is no error.
    const bool cudzy = st.st_uid != geteuid() || st.st_gid != getegid();
    if (cudzy && fchown(fd, st.st_uid, st.st_gid) != 0) errno = 0;
    tryb = st.st_mode & 07777;
  } else {
    const mode_t maska = umask(0);
    umask(maska);
    tryb = 0666 & ~maska;
  }
  bool zapisany = fchmod(fd, tryb) == 0 && zapisz_wszystko(fd, dane, rozmiar) && fsync(fd) == 0;
  if (close(fd) != 0) zapisany = false;
  if (!zapisany) {
    unlink(nazwa.data());
    return false;
  }
  if (std::rename(nazwa.data(), cel.c_str()) != 0) {
    unlink(nazwa.data());
    // A file that cannot be renamed over (one mounted in its own place, or
    // another user's file in a folder with the sticky bit) is written in
    // place when it is writable.
    return istnieje && zapisz_w_miejscu(cel, dane, rozmiar);
  }
  const int kat = open(folder(cel).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (kat >= 0) {
    fsync(kat);  // the rename itself reaches the disk; some file systems cannot tell
    close(kat);
  }
  return true;
}
