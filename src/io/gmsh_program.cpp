#include "io/gmsh_program.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

extern char** environ;

std::string znajdz_gmsh() {
  const char* sciezki = std::getenv("PATH");
  if (!sciezki) return {};
  const std::string p = sciezki;
  for (std::size_t a = 0; a <= p.size();) {
    std::size_t b = p.find(':', a);
    if (b == std::string::npos) b = p.size();
    const std::string katalog = p.substr(a, b - a);
    a = b + 1;
    // Only absolute folders: an empty or relative entry would run whatever
    // "gmsh" lies in the current folder.
    if (katalog.empty() || katalog[0] != '/') continue;
    const std::string kandydat = katalog + "/gmsh";
    struct stat st;
    if (::stat(kandydat.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(kandydat.c_str(), X_OK) == 0)
      return kandydat;
  }
  return {};
}

namespace {

// What to show of gmsh's output: its error lines, or else its last lines.
std::string wybrane_wiersze(const std::string& plik) {
  std::ifstream in(plik);
  std::vector<std::string> wszystkie, bledy;
  for (std::string w; std::getline(in, w);) {
    if (!w.empty() && w.back() == '\r') w.pop_back();
    if (w.empty()) continue;
    if (w.rfind("Error", 0) == 0 && (bledy.empty() || bledy.back() != w)) bledy.push_back(w);
    wszystkie.push_back(std::move(w));
  }
  const auto& z = bledy.empty() ? wszystkie : bledy;
  constexpr std::size_t kNajwyzej = 15;
  std::string t;
  const std::size_t od = bledy.empty() && z.size() > kNajwyzej ? z.size() - kNajwyzej : 0;
  for (std::size_t i = od; i < z.size() && i < od + kNajwyzej; ++i) t += z[i] + "\n";
  if (!bledy.empty() && bledy.size() > kNajwyzej) t += "…\n";
  if (!t.empty()) t.pop_back();
  return t;
}

}  // namespace

WynikGmsh uruchom_gmsh(const std::string& program, const std::string& geo, const std::string& msh,
                       double limit_s) {
  WynikGmsh w;
  const std::string log = msh + ".log";
  std::vector<std::string> argumenty = {program, geo, "-2", "-format", "msh41", "-o", msh, "-nopopup"};
  std::vector<char*> argv;
  for (auto& a : argumenty) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t akcje;
  posix_spawn_file_actions_init(&akcje);
  posix_spawn_file_actions_addopen(&akcje, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&akcje, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&akcje, 1, 2);
  pid_t pid = 0;
  const int e = ::posix_spawn(&pid, program.c_str(), &akcje, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&akcje);
  if (e != 0) {
    w.komunikaty = "Nie można uruchomić programu " + program + ": " + std::strerror(e);
    ::unlink(log.c_str());
    return w;
  }

  const auto koniec = std::chrono::steady_clock::now() + std::chrono::duration<double>(limit_s);
  int status = 0;
  for (;;) {
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) {
      status = -1;
      break;
    }
    if (std::chrono::steady_clock::now() >= koniec) {
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      w.przekroczony_czas = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  struct stat st;
  w.ok = !w.przekroczony_czas && status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
         ::stat(msh.c_str(), &st) == 0;
  if (!w.ok) {
    w.komunikaty = wybrane_wiersze(log);
    if (w.przekroczony_czas)
      w.komunikaty = "Program gmsh nie skończył pracy w ciągu " + std::to_string(static_cast<int>(limit_s)) +
                     " s i został zatrzymany." + (w.komunikaty.empty() ? "" : "\n" + w.komunikaty);
    else if (w.komunikaty.empty())
      w.komunikaty = "Program gmsh zakończył pracę z błędem.";
  }
  ::unlink(log.c_str());
  return w;
}
