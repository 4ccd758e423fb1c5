// The one reset of the whole logic, built from each module's own.
#include "app/logic_reset.h"

#include "app/settings.h"
#include "app/title_screens.h"
#include "content/shared_sprites.h"
#include "devices/data_file.h"
#include "devices/delay.h"
#include "devices/failure.h"
#include "devices/input_record.h"
#include "devices/keyboard.h"
#include "devices/sound.h"
#include "devices/window.h"
#include "display/display.h"
#include "game/game_flow.h"
#include "game/play_state.h"
#include "game/play_tick.h"
#include "game/score_table.h"

namespace coilrun {

void ResetLogicState() {
  // What holds device resources, released as shut-down releases them.
  ResetPlayTick();
  ReleaseSharedSprites();
  ResetKeyboard();
  ResetSound();
  ResetDisplay();
  ResetInputRecord();
  // Plain values.
  ResetFlipPacing();
  ResetWindow();
  ResetDataFiles();
  ClearFailure();
  ResetPlayState();
  ResetGameFlow();
  ResetScoreTable();
  ResetTitleScreens();
  ResetSettings();
}

}  // namespace coilrun
