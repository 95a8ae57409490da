#include "io/vtu.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace {

// Base64 (RFC 4648, with padding).  Written here because it is a dozen
// lines, and every library that has it would bring far more than it.
void base64(const std::uint8_t* d, std::size_t n, std::string& out) {
  static constexpr char kZnaki[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  const std::size_t start = out.size();
  out.resize(start + (n + 2) / 3 * 4);
  char* o = out.data() + start;
  std::size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    const std::uint32_t v = std::uint32_t{d[i]} << 16 | std::uint32_t{d[i + 1]} << 8 | d[i + 2];
    o[0] = kZnaki[v >> 18];
    o[1] = kZnaki[(v >> 12) & 63];
    o[2] = kZnaki[(v >> 6) & 63];
    o[3] = kZnaki[v & 63];
    o += 4;
  }
  if (i < n) {
    const std::uint32_t v = std::uint32_t{d[i]} << 16 | (i + 1 < n ? std::uint32_t{d[i + 1]} << 8 : 0);
    o[0] = kZnaki[v >> 18];
    o[1] = kZnaki[(v >> 12) & 63];
    o[2] = i + 1 < n ? kZnaki[(v >> 6) & 63] : '=';
    o[3] = '=';
  }
}

const char* typ_vtk(float) { return "Float32"; }
const char* typ_vtk(std::int32_t) { return "Int32"; }
const char* typ_vtk(std::uint8_t) { return "UInt8"; }

class Pisarz {
 public:
  explicit Pisarz(std::string& out) : out_(out) {}

  // One DataArray of `n` tuples of `komponenty` values, whose value number
  // i (0-based, tuple-major) is wartosc(i).
  template <class T, class F>
  void tablica(const char* nazwa, long n, int komponenty, F&& wartosc, const char* nazwy_komponentow = nullptr,
               bool krotki = false) {
    const std::size_t ile = static_cast<std::size_t>(n > 0 ? n : 0) * static_cast<std::size_t>(komponenty);
    const std::uint64_t bajty = ile * sizeof(T);
    bufor_.resize(8 + ile * sizeof(T));
    for (int k = 0; k < 8; ++k) bufor_[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(bajty >> (8 * k));
    std::uint8_t* p = bufor_.data() + 8;
    for (std::size_t i = 0; i < ile; ++i, p += sizeof(T)) {
      const T v = wartosc(i);
      if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(p, &v, sizeof(T));
      } else {
        std::make_unsigned_t<std::conditional_t<std::is_floating_point_v<T>, std::int32_t, T>> u;
        std::memcpy(&u, &v, sizeof(T));
        for (std::size_t k = 0; k < sizeof(T); ++k) p[k] = static_cast<std::uint8_t>(u >> (8 * k));
      }
    }
    out_ += "<DataArray type=\"";
    out_ += typ_vtk(T{});
    out_ += "\" Name=\"";
    out_ += nazwa;
    out_ += "\"";
    if (komponenty > 1) out_ += " NumberOfComponents=\"" + std::to_string(komponenty) + "\"";
    if (nazwy_komponentow) out_ += nazwy_komponentow;
    if (krotki) out_ += " NumberOfTuples=\"" + std::to_string(n) + "\"";
    out_ += " format=\"binary\">\n";
    base64(bufor_.data(), bufor_.size(), out_);
    out_ += "\n</DataArray>\n";
  }

 private:
  std::string& out_;
  std::vector<std::uint8_t> bufor_;
};

constexpr const char* kXY = " ComponentName0=\"X\" ComponentName1=\"Y\"";
constexpr const char* kXYZ = " ComponentName0=\"X\" ComponentName1=\"Y\" ComponentName2=\"Z\"";

}  // namespace

std::string tekst_vtu(const Model& m, const PrzebiegVtu* przebieg) {
  const int nn = m.nn, ne = m.ne;
  const bool wyniki = m.obliczono == 1;
  const bool modul = wyniki && m.EE.istnieje() && m.EE.lo() == 1 && m.EE.hi() == ne;
  std::string t;
  // Each value takes 4 bytes, 16/3 characters in base64.
  const std::size_t wartosci =
      static_cast<std::size_t>(nn) * (wyniki ? 21 : 8) + static_cast<std::size_t>(ne) * (wyniki ? 11 : 5);
  t.reserve(wartosci * 16 / 3 + 8192);
  Pisarz w(t);

  // Per degree of freedom: restrained, prescribed displacement, reaction
  // (summed should a direction be listed twice).
  std::vector<std::int32_t> podparty(static_cast<std::size_t>(2 * nn), 0);
  std::vector<float> zadane(static_cast<std::size_t>(2 * nn), 0.0f), reakcje(static_cast<std::size_t>(2 * nn), 0.0f);
  for (int j = 1; j <= m.nd; ++j) {
    const int dof = m.nu[j];
    if (dof < 1 || dof > 2 * nn) continue;
    const auto i = static_cast<std::size_t>(dof - 1);
    podparty[i] = 1;
    zadane[i] = m.u[j];
    if (wyniki) reakcje[i] += m.react[j];
  }
  // A vector per node from a value per degree of freedom, z = 0.
  const auto wektor = [](const auto& na_dof) {
    return [&na_dof](std::size_t i) -> float { return i % 3 == 2 ? 0.0f : na_dof(2 * (i / 3) + i % 3 + 1); };
  };

  t += "<?xml version=\"1.0\"?>\n"
       "<VTKFile type=\"UnstructuredGrid\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n"
       "<UnstructuredGrid>\n<FieldData>\n";
  w.tablica<float>(vtu::kGrubosc, 1, 1, [&](std::size_t) { return m.th; }, nullptr, true);
  if (wyniki && przebieg) {
    w.tablica<std::int32_t>(vtu::kKroki, 1, 1, [&](std::size_t) { return przebieg->kroki; }, nullptr, true);
    w.tablica<float>(vtu::kZmiana, 1, 1, [&](std::size_t) { return przebieg->zmiana; }, nullptr, true);
  }
  t += "</FieldData>\n<Piece NumberOfPoints=\"" + std::to_string(nn) + "\" NumberOfCells=\"" + std::to_string(ne) +
       "\">\n";

  // --- point data ---------------------------------------------------------------------
  t += wyniki ? "<PointData Scalars=\"" + std::string(vtu::kNaprWez[3]) + "\" Vectors=\"" + vtu::kPrzemieszczenia +
                    "\">\n"
              : std::string("<PointData>\n");
  if (wyniki) {
    const auto f = [&m](int dof) { return m.f[dof]; };
    w.tablica<float>(vtu::kPrzemieszczenia, nn, 3, wektor(f), kXYZ);
    for (int k = 0; k < 4; ++k)
      w.tablica<float>(vtu::kNaprWez[k], nn, 1, [&](std::size_t i) { return m.ww[static_cast<long>(i) + 1][k + 1]; });
  }
  w.tablica<std::int32_t>(vtu::kPodpory, nn, 2, [&](std::size_t i) { return podparty[i]; }, kXY);
  const auto u = [&zadane](int dof) { return zadane[static_cast<std::size_t>(dof - 1)]; };
  w.tablica<float>(vtu::kZadane, nn, 3, wektor(u), kXYZ);
  const auto si = [&m](int dof) { return m.si[dof]; };
  w.tablica<float>(vtu::kSily, nn, 3, wektor(si), kXYZ);
  if (wyniki) {
    const auto r = [&reakcje](int dof) { return reakcje[static_cast<std::size_t>(dof - 1)]; };
    w.tablica<float>(vtu::kReakcje, nn, 3, wektor(r), kXYZ);
  }
  t += "</PointData>\n";

  // --- cell data ----------------------------------------------------------------------
  t += "<CellData Scalars=\"" + std::string(wyniki ? vtu::kNaprEl[3] : vtu::kMaterial) + "\">\n";
  w.tablica<std::int32_t>(vtu::kMaterial, ne, 1, [&](std::size_t i) { return m.mat[static_cast<long>(i) + 1]; });
  if (wyniki) {
    for (int k = 0; k < 4; ++k)
      w.tablica<float>(vtu::kNaprEl[k], ne, 1, [&](std::size_t i) { return m.napr[static_cast<long>(i) + 1][k + 1]; });
    if (modul) w.tablica<float>(vtu::kModulSieczny, ne, 1, [&](std::size_t i) { return m.EE[static_cast<long>(i) + 1]; });
  }
  t += "</CellData>\n";

  // --- geometry -----------------------------------------------------------------------
  t += "<Points>\n";
  w.tablica<float>("Points", nn, 3, [&](std::size_t i) {
    return i % 3 == 2 ? 0.0f : m.x[static_cast<long>(i / 3) + 1][static_cast<long>(i % 3) + 1];
  });
  t += "</Points>\n<Cells>\n";
  w.tablica<std::int32_t>("connectivity", 3L * ne, 1,
                          [&](std::size_t i) { return m.noc[static_cast<long>(i / 3) + 1][static_cast<long>(i % 3) + 1] - 1; });
  w.tablica<std::int32_t>("offsets", ne, 1, [](std::size_t i) { return static_cast<std::int32_t>(3 * (i + 1)); });
  w.tablica<std::uint8_t>("types", ne, 1, [](std::size_t) { return std::uint8_t{5}; });  // VTK_TRIANGLE
  t += "</Cells>\n</Piece>\n</UnstructuredGrid>\n</VTKFile>\n";
  return t;
}
