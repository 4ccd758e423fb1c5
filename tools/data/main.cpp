// coilrun-data: makes the default data set, or checks a player's own.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "check.h"
#include "dataset.h"

namespace coilrun {
namespace {

int PrintUsage() {
  std::cerr << "usage: coilrun-data make [--reset-scores] DIR\n"
               "         writes every data file into DIR, and an empty SCORE.DAT unless one is there\n"
               "         (--reset-scores replaces it), and the manifest "
            << kManifestName
            << " for the browser's page\n"
               "       coilrun-data check [DIR]\n"
               "         checks the data files in DIR (the working directory by default)\n"
               "       coilrun-data manifest DIR\n"
               "         writes DIR/"
            << kManifestName << ", the names and sizes of the data files in DIR\n";
  return 2;
}

int RunMake(int argc, char** argv) {
  MakeOptions options;
  std::string dir;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--reset-scores") == 0) {
      options.resetScores = true;
    } else if (dir.empty()) {
      dir = argv[i];
    } else {
      return PrintUsage();
    }
  }
  if (dir.empty()) return PrintUsage();
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::cerr << "coilrun-data: " << dir << ": " << error.message() << "\n";
    return 1;
  }
  if (!MakeDataSet(dir, options, std::cerr)) return 1;
  return 0;
}

int RunManifest(int argc, char** argv) {
  if (argc != 3) return PrintUsage();
  return WriteManifest(argv[2], std::cerr) ? 0 : 1;
}

int RunCheck(int argc, char** argv) {
  if (argc > 3) return PrintUsage();
  return CheckDataSet(argc == 3 ? argv[2] : ".", std::cout) ? 0 : 1;
}

}  // namespace
}  // namespace coilrun

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "make") == 0) return coilrun::RunMake(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "check") == 0) return coilrun::RunCheck(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "manifest") == 0) return coilrun::RunManifest(argc, argv);
  return coilrun::PrintUsage();
}
