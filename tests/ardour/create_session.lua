-- Builds a session with one stereo track named "FX" that holds the plug-in,
-- sets parameters through Ardour and lays a silent stereo region of the wanted
-- length at 0; the caller then overwrites the region's two source files with
-- the real input (the headless interpreter has no import).
--
-- ardour7-lua create_session.lua DIR NAME RATE BLOCK PLUGIN_ID FRAMES [INDEX=VALUE ...]

local dir, name = arg[1], arg[2]
local rate, block = tonumber(arg[3]), tonumber(arg[4])
local plugin_id, frames = arg[5], tonumber(arg[6])

local function fail(text)
  print("ERROR: " .. text)
  os.exit(3)
end

local backend = AudioEngine:set_backend("None (Dummy)", "", "")
if not backend then fail("no dummy audio backend") end
backend:set_buffer_size(block)

local session = create_session(dir, name, rate)
if not session then fail("cannot create session in " .. dir) end

local tracks = session:new_audio_track(2, 2, nil, 1, "FX",
  ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true)
if tracks:size() ~= 1 then fail("cannot add a track") end
local track = tracks:front()

local plugin = ARDOUR.LuaAPI.new_plugin(session, plugin_id, ARDOUR.PluginType.LXVST, "")
if plugin:isnil() then fail("Ardour does not know plug-in " .. plugin_id) end
if track:add_processor_by_index(plugin, 0, nil, true) ~= 0 then fail("cannot insert the plug-in") end

for i = 7, #arg do
  local index, value = string.match(arg[i], "^(%d+)=([-+.%deE]+)$")
  if not index then fail("bad parameter setting " .. arg[i]) end
  if not ARDOUR.LuaAPI.set_processor_param(plugin, tonumber(index), tonumber(value)) then
    fail("cannot set parameter " .. index)
  end
end

local region = track:bounce_range(0, frames, ARDOUR.InterThreadInfo(), track:main_outs(), false, "input")
if region:isnil() then fail("cannot make the input region") end
local audio_region = region:to_audioregion()
-- Fades would shape the input; the comparison needs it untouched.
audio_region:set_fade_in_active(false)
audio_region:set_fade_out_active(false)
track:playlist():add_region(region, Temporal.timepos_t(0), 1, false, 0, 0)

session:save_state("", false, false, false, false, false)
print("created " .. dir)
io.stdout:flush()  -- the caller trusts the session only when it sees this line
close_session()
