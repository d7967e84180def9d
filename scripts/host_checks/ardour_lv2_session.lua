-- Run by ardour_lv2.py in ardour7-lua (Ardour's headless Lua session tool), on
-- the Dummy back-end, whose "Sine Wave" input is a -18 dBFS sine.
-- Environment: CHECK_SESSION_DIR, CHECK_PHASE ("create" or "reload"),
--   CHECK_PLUGIN_URI, CHECK_STEPS (create: "port=value,port=value|..." by port
--   index, one group per step), CHECK_EXPORT_DIR.
-- Prints tab-separated records: INFO, PARAM, LEVEL, SET, BYPASS, EXPORT, ERROR.

local here = debug.getinfo(1, "S").source:match("^@(.*/)") or "./"
local headless = dofile(here .. "ardour_headless.lua")
local out = headless.out

local rate = 48000
local phase = os.getenv("CHECK_PHASE")
local dir = os.getenv("CHECK_SESSION_DIR")

headless.run(function ()
  headless.dummy_engine("Sine Wave")

  local track, proc
  if phase == "create" then
    assert(create_session(dir, "pedal", rate), "could not create a session in " .. dir)
    track = headless.mono_track("pedal")
    proc = ARDOUR.LuaAPI.new_plugin(Session, os.getenv("CHECK_PLUGIN_URI"), ARDOUR.PluginType.LV2, "")
    if proc:isnil() then error("Ardour could not instantiate the LV2 plug-in by its URI") end
    if track:add_processor_by_index(proc, 0, nil, true) ~= 0 then
      error("could not add the plug-in to a mono track")
    end
  else
    assert(load_session(dir, "pedal"), "could not load the session in " .. dir)
    track = Session:route_by_name("pedal"):to_track()
    proc = track:nth_plugin(0)
    if proc:isnil() then error("the reloaded session has no plug-in on its track") end
  end
  local insert = proc:to_insert()
  local plugin = insert:plugin(0)
  out("INFO", "name", plugin:name())
  out("INFO", "maker", plugin:maker())
  out("INFO", "uri", plugin:unique_id())

  -- Ardour numbers a plug-in's controls in port order; nth_parameter gives the port.
  local nth_of_port = {}
  local n = 0
  while true do
    local port, found = plugin:nth_parameter(n, false)
    if not (found and found[2]) then break end
    nth_of_port[port] = n
    local _, t = plugin:get_parameter_descriptor(port, ARDOUR.ParameterDescriptor())
    local pd = t[2]
    out("PARAM", tostring(n), tostring(port), plugin:parameter_label(port), tostring(pd.lower),
        tostring(pd.upper), tostring(pd.normal), tostring(pd.toggled),
        tostring(ARDOUR.LuaAPI.get_processor_param(proc, n)))
    n = n + 1
  end

  -- The peak of the track's output once the change has settled.
  local function level()
    ARDOUR.LuaAPI.usleep(300000)
    track:peak_meter():reset_max()
    ARDOUR.LuaAPI.usleep(400000)
    return track:peak_meter():meter_level(0, ARDOUR.MeterType.MeterMaxPeak)
  end
  out("LEVEL", phase, tostring(level()))

  if phase == "create" then
    local step = 0
    for group in (os.getenv("CHECK_STEPS") or ""):gmatch("[^|]+") do
      step = step + 1
      for port, value in group:gmatch("(%d+)=([%d%.eE+-]+)") do
        local nth = nth_of_port[tonumber(port)]
        if nth == nil then error("port " .. port .. " is no control Ardour offers") end
        local accepted = ARDOUR.LuaAPI.set_processor_param(proc, nth, tonumber(value))
        out("SET", port, value, tostring(accepted), tostring(ARDOUR.LuaAPI.get_processor_param(proc, nth)))
      end
      out("LEVEL", "step" .. step, tostring(level()))
    end

    -- Ardour's own bypass of the plug-in, as its mixer strip's switch does it.
    insert:enable(false)
    local bypassed = level()
    local values = {}
    for port, nth in pairs(nth_of_port) do
      values[#values + 1] = port .. "=" .. tostring(ARDOUR.LuaAPI.get_processor_param(proc, nth))
    end
    table.sort(values)
    out("BYPASS", tostring(insert:enabled()), tostring(bypassed), table.concat(values, ","))
    insert:enable(true)
    level()
  end

  -- Ardour's own WAV preset.
  local export = headless.export("pedal-" .. phase, os.getenv("CHECK_EXPORT_DIR"), 2 * rate,
                                 "75969a1c-3133-4694-864b-a1fa50e43348")
  assert(export:check_outputs(), "nothing to export")
  out("EXPORT", tostring(export:run_export()))
  Session:save_state("", false, false, false, false, false)
  close_session()
end)
