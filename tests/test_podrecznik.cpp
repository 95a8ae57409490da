// The user manual (docs/podrecznik/) and the help page that points to it are
// installed as they are and opened in a browser: every picture and every
// link within them has to lead somewhere, and every file of the manual's
// folder has to be used by it (the folder goes whole into the package).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kDokumenty = fs::path(SKORBA_EXAMPLES) / ".." / "docs";

std::string czytaj(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

// Checks the src and href attributes of one page; remembers the files used.
void sprawdz_strone(const fs::path& strona, std::set<fs::path>& uzyte) {
  const std::string html = czytaj(strona);
  ASSERT_FALSE(html.empty()) << strona;
  static const std::regex atrybut(R"re((src|href)="([^"]*)")re");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), atrybut); it != std::sregex_iterator(); ++it) {
    const std::string cel = (*it)[2];
    SCOPED_TRACE(strona.filename().string() + ": " + cel);
    // No network: the manual is read where nothing may be fetched.
    EXPECT_EQ(cel.find("://"), std::string::npos);
    const auto hash = cel.find('#');
    const std::string plik = cel.substr(0, hash), kotwica = hash == std::string::npos ? "" : cel.substr(hash + 1);
    const fs::path docelowy = plik.empty() ? strona : fs::weakly_canonical(strona.parent_path() / plik);
    ASSERT_TRUE(fs::is_regular_file(docelowy));
    uzyte.insert(docelowy);
    if (!kotwica.empty()) {
      EXPECT_NE(czytaj(docelowy).find("id=\"" + kotwica + "\""), std::string::npos);
    }
  }
}

}  // namespace

TEST(Podrecznik, ObrazyIOdnosnikiProwadzaDoPlikowIKotwic) {
  const fs::path katalog = fs::weakly_canonical(kDokumenty / "podrecznik");
  ASSERT_TRUE(fs::is_regular_file(katalog / "index.html")) << katalog;
  std::set<fs::path> uzyte;
  sprawdz_strone(fs::weakly_canonical(kDokumenty / "skorban.html"), uzyte);
  for (const auto& wpis : fs::directory_iterator(katalog))
    if (wpis.path().extension() == ".html") {
      uzyte.insert(wpis.path());
      sprawdz_strone(wpis.path(), uzyte);
    }
  for (const auto& wpis : fs::directory_iterator(katalog))
    EXPECT_TRUE(uzyte.count(wpis.path())) << "nieużywany plik podręcznika: " << wpis.path().filename();
}
