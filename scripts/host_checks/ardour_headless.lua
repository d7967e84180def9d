-- What the host checks' ardour7-lua scripts share: their records on stdout, a
-- session on the Dummy back-end, a mono track, an export, and the end of the
-- session whatever happened. Loaded with dofile; returns the functions.
local M = {}

-- One tab-separated record a line, flushed at once for the reader.
function M.out(...)
  print(table.concat({...}, "\t"))
  io.stdout:flush()
end

-- The Dummy back-end with DEVICE ("Silence", "Sine Wave", ...) as its input.
function M.dummy_engine(device)
  local backend = AudioEngine:set_backend("None (Dummy)", "", "")
  assert(backend, "no Dummy audio back-end")
  backend:set_device_name(device)
end

-- A mono track that monitors its input, so the session's input reaches it.
function M.mono_track(name)
  local track = Session:new_audio_track(1, 1, nil, 1, name, ARDOUR.PresentationInfo.max_order,
                                        ARDOUR.TrackMode.Normal, true):front()
  track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput,
                                       PBD.GroupControlDisposition.NoGroup)
  return track
end

-- The session's first FRAMES as NAME into FOLDER with the export preset PRESET,
-- ready to run.
function M.export(name, folder, frames, preset)
  local export = Session:simple_export()
  export:set_name(name)
  export:set_folder(folder)
  export:set_range(0, frames)
  assert(export:set_preset(preset), "the export preset " .. preset .. " was not found")
  return export
end

-- Runs BODY; an error in it becomes an ERROR record and the session is closed.
function M.run(body)
  local ok, err = pcall(body)
  if not ok then
    M.out("ERROR", tostring(err))
    pcall(close_session)
  end
end

return M
