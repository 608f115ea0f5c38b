-- Loads a session made by create_session.lua (Ardour restores the plug-in's
-- state from the session file), optionally sets parameters through Ardour,
-- writes every parameter as the plug-in reports it, exports the master bus as
-- a 32-bit float WAV (unless OUT_NAME is "-") and optionally saves the session.
--
-- ardour7-lua export_session.lua DIR NAME BLOCK FRAMES OUT_FOLDER OUT_NAME
--             PRESET_ID PARAMS_FILE SAVE(0|1) [INDEX=VALUE ...]

local dir, name = arg[1], arg[2]
local block, frames = tonumber(arg[3]), tonumber(arg[4])
local out_folder, out_name, preset_id = arg[5], arg[6], arg[7]
local params_file, save = arg[8], arg[9] == "1"

local function fail(text)
  print("ERROR: " .. text)
  os.exit(3)
end

local backend = AudioEngine:set_backend("None (Dummy)", "", "")
if not backend then fail("no dummy audio backend") end
backend:set_buffer_size(block)

local session = load_session(dir, name)
if not session then fail("cannot load session " .. dir) end
local track = session:route_by_name("FX")
if track:isnil() then fail("no track FX") end
local plugin = track:nth_plugin(0)
if plugin:isnil() then fail("the plug-in was not restored") end

for i = 10, #arg do
  local index, value = string.match(arg[i], "^(%d+)=([-+.%deE]+)$")
  if not index then fail("bad parameter setting " .. arg[i]) end
  if not ARDOUR.LuaAPI.set_processor_param(plugin, tonumber(index), tonumber(value)) then
    fail("cannot set parameter " .. index)
  end
end

-- The plug-in control's value is read from the plug-in itself (getParameter);
-- nine digits keep every float distinct, so a file compare shows any value
-- that did not survive.
local file = io.open(params_file, "w")
if not file then fail("cannot write " .. params_file) end
for i = 0, plugin:to_insert():plugin(0):parameter_count() - 1 do
  -- The second result holds the call's reference arguments; [3] is "ok".
  local value, refs = ARDOUR.LuaAPI.get_processor_param(plugin, i, true)
  if not refs[3] then fail("cannot read parameter " .. i) end
  file:write(string.format("%d %.9g\n", i, value))
end
file:close()

if out_name ~= "-" then
  local export = session:simple_export()
  if not export:set_preset(preset_id) then fail("unknown export preset " .. preset_id) end
  export:set_folder(out_folder)
  export:set_name(out_name)
  export:set_range(0, frames)
  if not export:check_outputs() then fail("nothing to export") end
  if not export:run_export() then fail("export failed") end
  print("exported " .. out_folder .. "/" .. out_name .. ".wav")
  io.stdout:flush()
end

if save then
  session:save_state("", false, false, false, false, false)
  print("saved")
  io.stdout:flush()  -- the caller trusts the save only when it sees this line
end
close_session()
