-- Run by ardour7-lua from ardour_automation.py: a headless Ardour session (Dummy
-- back-end) with one mono track: Ardour's own SinGen generator (397 Hz, -18 dBFS)
-- into the plug-in, whose Treble (index 4) either holds TREBLE or, with TREBLE
-- "automated", follows an automation lane: 0 for half a second, then jumps
-- between 0 and 1 every quarter second for two seconds, then ramps between them
-- for two seconds. The session's first SECONDS are exported as 32-bit float WAV
-- with the export preset PRESET into OUT_DIR.
-- Environment: SESSION_DIR, PLUGIN_NAME, RATE, TREBLE, SECONDS, PRESET, OUT_DIR.
-- Prints tab-separated records: POINTS, EXPORTED, ERROR.

local here = debug.getinfo(1, "S").source:match("^@(.*/)") or "./"
local headless = dofile(here .. "ardour_headless.lua")
local out = headless.out

local TREBLE_INDEX = 4

local function automate(proc, rate)
  local list, curve = ARDOUR.LuaAPI.plugin_automation(proc, TREBLE_INDEX)
  assert(not list:isnil(), "the plug-in's Treble has no automation lane")
  local quarter = math.floor(rate / 4)
  local at, value = 2 * quarter, 0
  curve:add(Temporal.timepos_t(0), 0, false, false)
  curve:add(Temporal.timepos_t(at), 0, false, false)
  for _ = 1, 8 do  -- jumps: the old value until one sample before the new one
    at = at + quarter
    curve:add(Temporal.timepos_t(at - 1), value, false, false)
    value = 1 - value
    curve:add(Temporal.timepos_t(at), value, false, false)
  end
  for _ = 1, 8 do  -- ramps
    at = at + quarter
    value = 1 - value
    curve:add(Temporal.timepos_t(at), value, false, false)
  end
  local parameter = Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, TREBLE_INDEX)
  local control = proc:to_insert():to_automatable():automation_control(parameter, false)
  assert(not control:isnil(), "no automation control for Treble")
  control:set_automation_state(ARDOUR.AutoState.Play)
  out("POINTS", tostring(curve:size()))
end

headless.run(function ()
  headless.dummy_engine("Silence")
  local rate = tonumber(os.getenv("RATE"))
  assert(create_session(os.getenv("SESSION_DIR"), "automation", rate), "no session")

  local track = headless.mono_track("guitar")
  local sine = ARDOUR.LuaAPI.new_luaproc(Session, "SinGen")
  assert(not sine:isnil(), "Ardour's SinGen generator is missing")
  assert(track:add_processor_by_index(sine, 0, nil, true) == 0, "could not add SinGen")
  ARDOUR.LuaAPI.set_processor_param(sine, 0, 397)  -- Hz
  ARDOUR.LuaAPI.set_processor_param(sine, 1, -18)  -- dB

  local proc = ARDOUR.LuaAPI.new_plugin(Session, os.getenv("PLUGIN_NAME"), ARDOUR.PluginType.LXVST, "")
  assert(not proc:isnil(), "Ardour could not instantiate the plug-in")
  assert(track:add_processor_by_index(proc, 1, nil, true) == 0, "could not add the plug-in")
  local treble = os.getenv("TREBLE")
  if treble == "automated" then
    automate(proc, rate)
  else
    ARDOUR.LuaAPI.set_processor_param(proc, TREBLE_INDEX, tonumber(treble))
  end
  ARDOUR.LuaAPI.usleep(1500000)  -- SinGen glides to its level

  local frames = math.floor(rate * tonumber(os.getenv("SECONDS")))
  local export = headless.export("export", os.getenv("OUT_DIR"), frames, os.getenv("PRESET"))
  assert(export:run_export(), "the export failed")
  out("EXPORTED")
  close_session()
end)
