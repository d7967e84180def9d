// What the editor needs from whoever hosts it: the pedal's values, a way to set
// one as the user's edit, and the bracketing of edits. A VST 2.4 effect, an LV2
// UI or a test each provide their own.
#pragma once

#include <cstdint>

class EditorController {
 public:
  virtual ~EditorController() = default;

  // The current value at a parameter index (see core/parameters.h).
  virtual float parameter(std::int32_t index) = 0;
  // The user set a control: change the value and let the host record it.
  virtual void setParameterFromEditor(std::int32_t index, float value) = 0;
  // A user gesture on a control starts or ends; true when the host took note.
  virtual bool beginEdit(std::int32_t index) = 0;
  virtual bool endEdit(std::int32_t index) = 0;
  // Lets the host run its own idle work during a long user interaction.
  virtual void hostIdle() {}
};
