// Reading the command line.
#include "app/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace coilrun {

namespace {

// The stage number of --stage's value, or 0 when it is not a whole number from 1 to 6.
int ParseStage(const char* text) {
  char* end = nullptr;
  errno = 0;
  const long stage = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0) return 0;
  if (stage < kFirstPracticeStage || stage > kLastPracticeStage) return 0;
  return static_cast<int>(stage);
}

// The volume of --volume's value, or -1 when it is not a whole number from 0 to 100.
int ParseVolume(const char* text) {
  char* end = nullptr;
  errno = 0;
  const long volume = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || errno != 0 || volume < 0 || volume > 100) return -1;
  return static_cast<int>(volume);
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      options.help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      options.version = true;
    } else if (std::strcmp(arg, "--windowed") == 0 || std::strcmp(arg, "--fullscreen") == 0) {
      options.windowed = arg[2] == 'w';
      options.fullscreen = !options.windowed;
    } else if (std::strcmp(arg, "--timedemo") == 0) {
      options.timedemo = true;
    } else if (std::strcmp(arg, "--hud") == 0 || std::strcmp(arg, "--no-hud") == 0) {
      options.hud = arg[2] == 'h';
      options.noHud = !options.hud;
    } else if (std::strcmp(arg, "--mute") == 0) {
      options.mute = true;
    } else if (std::strcmp(arg, "--volume") == 0) {
      options.volume = hasValue ? ParseVolume(argv[++i]) : -1;
      if (options.volume < 0) {
        options.error = "--volume wants a whole number from 0 to 100";
        if (hasValue) options.error += std::string(", not \"") + argv[i] + "\"";
      }
    } else if (std::strcmp(arg, "--stage") == 0) {
      options.stage = hasValue ? ParseStage(argv[++i]) : 0;
      if (options.stage == 0) {
        options.error = "--stage wants a stage from 1 to 6";
        if (hasValue) options.error += std::string(", not \"") + argv[i] + "\"";
      }
    } else if (std::strcmp(arg, "--record") == 0 && hasValue) {
      options.record = argv[++i];
    } else if (std::strcmp(arg, "--replay") == 0 && hasValue) {
      options.replay = argv[++i];
    }
  }
  return options;
}

const char* UsageText() {
  return "Usage: coilrun [--windowed | --fullscreen] [--hud | --no-hud] [--volume N] [--mute] [--stage N]\n"
         "               [--record FILE | --replay FILE [--timedemo]]\n"
         "A snake that never stops: eat, grow, and do not run into yourself.\n"
         "\n"
         "  --windowed       start in a window instead of full screen (Alt+Enter or F11 toggles)\n"
         "  --fullscreen     start over the whole screen\n"
         "  --hud, --no-hud  show or hide the lives left and the creatures left to clear the stage\n"
         "  --volume N       play the sound at N percent (0 to 100)\n"
         "  --mute           play no sound\n"
         "  --stage N        practise: every game starts at stage N (1 to 6); its score is shown but\n"
         "                   never entered in the high scores\n"
         "  --record FILE    write every key and window event of this run to FILE\n"
         "  --replay FILE    play a recorded run back exactly (with the --stage it was recorded with)\n"
         "  --timedemo       with --replay: as fast as possible, then print the ticks per second\n"
         "  --help           show this text\n"
         "  --version        show the version\n"
         "\n"
         "--windowed, --fullscreen, --hud, --no-hud, --volume and --mute are for this run only.\n"
         "\n"
         "Keys: arrows or W/A/S/D steer and choose, Return confirms, Esc pauses. Alt+Enter or F11 switches\n"
         "between full screen and a window, F12 saves a screenshot, F8 mutes and unmutes, F9 and F10 turn\n"
         "the sound down and up. The game keeps the window, the sound and the keys (its [keys] section)\n"
         "in $XDG_CONFIG_HOME/coilrun/settings.ini, by default ~/.config/coilrun/settings.ini.\n"
         "\n"
         "The game reads its data files and SCORE.DAT from the working directory. Where that holds no\n"
         "data, it plays the installed data and keeps SCORE.DAT in ~/.local/share/coilrun.\n";
}

}  // namespace coilrun
