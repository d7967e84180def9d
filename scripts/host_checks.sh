#!/usr/bin/env bash
# The real-host stage: the plug-in in hosts nobody here wrote. Needs the headless
# host harnesses in shared/hosts beside the project folder (present in the
# project's CI); where they are absent, says so and passes.
#
#   scripts/host_checks.sh [--update-docs] [BUILD_DIR]
#
# Installs the hosts when missing, builds into BUILD_DIR (default build/), then:
#   1. Audacity renders murkfell-render's clean riff, made at 44.1 and at 96 kHz,
#      with Gain=0.8 CabSim=0; each must agree with murkfell-render's own
#      rendition to one step of the file format;
#   2. Audacity renders a stereo file (guitar left, a 220 Hz sine right) through
#      one mono instance, suspended and resumed between the channels; both
#      channels must equal murkfell-render's, which plays each channel through
#      an instance of its own;
#   3. Audacity shows the editor; the panel from murkfell-render --snapshot must
#      be found in the screenshot (--update-docs copies it to docs/); clicks and
#      a drag in it must leave it as murkfell-render draws the expected values;
#   4. Ardour's scanner and a headless Ardour session: identity, I/O, editor,
#      nine parameters, and the level rising as it should with Level at 1;
#   5. Ardour exports a 397 Hz sine at -18 dBFS with Treble automated, jumping
#      and ramping between 0 and 1, at 48 and 96 kHz: the export must peak
#      within 1 dB of the loudest export with Treble held;
#   6. cmake --install puts murkfell.so under lib/vst and Qtractor's scanner
#      reads the installed copy;
# and the LV2 bundle (build/murkfell.lv2):
#   7. lv2_validate (sord_validate against the LV2 vocabularies) passes, lv2info
#      lists the ports, cmake --install puts an identical bundle under lib/lv2;
#   8. lv2apply renders murkfell-render's clean riff bit for bit as murkfell-render's
#      VST render does, at the defaults and with knobs set;
#   9. Audacity renders the clean riff at 48 kHz through the bundle, bit for bit
#      as murkfell-render;
#  10. Ardour loads it by URI, sets controls by symbol, bypasses it with its own
#      switch, exports, and reloads the session with the values intact;
#  11. jalv.gtk3 shows the editor (the panel found pixel for pixel) and a click on
#      its footswitch lights the lamp.
# Artefacts and host logs go to BUILD_DIR/host-checks/.
set -euo pipefail

update_docs=0
if [[ ${1:-} == --update-docs ]]; then
  update_docs=1
  shift
fi
root=$(cd "$(dirname "$0")/.." && pwd)
hosts="$(dirname "$root")/shared/hosts"
build=${1:-$root/build}
helpers=$root/scripts/host_checks
py=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1

if [[ ! -d $hosts ]]; then
  echo "host checks skipped: no host harnesses at $hosts (they exist only beside the project's CI)"
  exit 0
fi

source "$root/scripts/lib/debian_packages.sh"
# The packages the harnesses drive; their own script installs them.
host_packages=(audacity ardour qtractor xvfb xdotool imagemagick x11-utils libgl1-mesa-dri procps)
if [[ -n $(missing_packages "${host_packages[@]}") ]]; then
  echo "Installing the hosts"
  bash "$hosts/install_deps.sh"
fi
# The LV2 tools and hosts: lilv's lv2info and lv2apply, jalv with a JACK server;
# and what the checkers read sound files and pictures with.
install_missing lilv-utils jalv jackd2 python3-numpy python3-soundfile python3-pil

"$root/scripts/build.sh" "$build"
plugin=$build/murkfell.so
bundle=$build/murkfell.lv2
plugin_uri=urn:orveton:murkfell
render=$build/murkfell-render
out=$build/host-checks
rm -rf "$out"
mkdir -p "$out"

echo "== the checkers' own tests"
"$py" -m unittest discover -s "$helpers" -p 'test_*.py'

# Runs a harness with its progress log in LOG, shown only when it fails.
logged() {
  local log=$1
  shift
  "$@" 2>"$log" || { local status=$?; tail -n 20 "$log"; return "$status"; }
}

# murkfell-render's clean riff at RATE in FOLDER, and its rendition through the
# pedal with the --set options that follow, in 32-bit float.
riff_at() {
  local folder=$1 rate=$2
  shift 2
  mkdir -p "$folder"
  (cd "$folder" && "$render" --rate "$rate" --float "$@" >/dev/null)
}

# Audacity plays INPUT through the plug-in with Gain=0.8 CabSim=0; the result
# must agree with murkfell-render's REFERENCE rendition of the same.
audacity_agrees() {
  local name=$1 input=$2 reference=$3
  logged "$out/audacity-$name.log" bash "$hosts/audacity_render.sh" \
    --fail-shot "$out/audacity-$name-failure.png" "$plugin" \
    "$input" "$out/audacity-$name.wav" Gain=0.8 CabSim=0 >"$out/audacity-$name.json"
  "$py" "$helpers/compare_wav.py" "$out/audacity-$name.wav" "$reference" --input "$input"
}

audacity_render() {
  local rate=$1 riff=$out/riff-$1
  riff_at "$riff" "$rate" --set Gain=0.8 --set CabSim=0
  audacity_agrees "render-$rate" "$riff/murkfell-clean.wav" "$riff/murkfell-processed.wav"
}

# The riff left and a 220 Hz sine right: one instance plays the left channel,
# is suspended and resumed, then plays the right one; it must sound as two
# fresh instances do, one a channel, in murkfell-render.
audacity_stereo() {
  riff_at "$out/riff-stereo" 44100
  "$py" "$helpers/float_input.py" --sine-right "$out/riff-stereo/murkfell-clean.wav" \
    "$out/stereo.wav"
  "$render" "$out/stereo.wav" "$out/murkfell-stereo.wav" --set Gain=0.8 --set CabSim=0 >/dev/null
  audacity_agrees stereo "$out/stereo.wav" "$out/murkfell-stereo.wav"
}

audacity_editor() {
  "$render" --snapshot "$out/panel.png"
  logged "$out/audacity-editor.log" bash "$hosts/audacity_editor_shot.sh" \
    --fail-shot "$out/audacity-editor-failure.png" \
    "$plugin" "$out/audacity-editor.png" >"$out/audacity-editor.json"
  "$py" "$helpers/find_panel.py" "$out/audacity-editor.png" "$out/panel.png"
  if ((update_docs)); then
    cp "$out/audacity-editor.png" "$root/docs/audacity-editor.png"
    echo "updated docs/audacity-editor.png"
  fi
}

# Clicks and a drag in the editor inside Audacity; after each the window must
# show exactly what murkfell-render --snapshot draws for the values the pedal
# should then hold: Level dragged to 9 o'clock; a press at 3 o'clock takes it
# there (not to an end); the footswitch darkens the lamp; Control+click sets
# Level back to the middle.
audacity_editor_clicks() {
  logged "$out/audacity-clicks.log" bash "$hosts/audacity_editor_click.sh" \
    --fail-shot "$out/audacity-clicks-failure.png" "$plugin" "$out/clicks" \
    drag:267,118:242,143 click:292,143 click:170,300 ctrlclick:267,143 \
    >"$out/audacity-clicks.json"
  local step=0 settings
  for settings in "Level=0.17" "Level=0.825" "Level=0.825 Bypass=1" "Level=0.5 Bypass=1"; do
    step=$((step + 1))
    local sets=()
    for setting in $settings; do sets+=(--set "$setting"); done
    "$render" --snapshot "$out/clicks/expected-$step.png" "${sets[@]}"
    echo "after action $step ($settings):"
    "$py" "$helpers/find_panel.py" "$out/clicks/editor-$step.png" "$out/clicks/expected-$step.png"
  done
}

ardour_scan() {
  logged "$out/ardour.log" bash "$hosts/scan.sh" --json "$plugin" 5=1 >"$out/ardour.json"
  "$py" "$helpers/host_reports.py" ardour "$out/ardour.json"
}

ardour_automation() {
  logged "$out/ardour-automation.log" "$py" "$helpers/ardour_automation.py" \
    "$hosts" "$plugin" "$out" --rate 48000 --rate 96000
}

install_and_qtractor_scan() {
  cmake --install "$build" --prefix "$out/prefix" >"$out/install.log"
  local installed=$out/prefix/lib/vst/murkfell.so
  cmp "$plugin" "$installed"
  echo "ok cmake --install wrote ${installed#"$out/"}, identical to the build"
  logged "$out/qtractor.log" bash "$hosts/qtractor_scan.sh" "$installed" >"$out/qtractor.txt"
  "$py" "$helpers/host_reports.py" qtractor "$out/qtractor.txt"
}

# A folder that holds only the bundle, for LV2_PATH.
lv2_path=$out/lv2-path
mkdir -p "$lv2_path"
ln -s "$bundle" "$lv2_path/murkfell.lv2"

lv2_bundle() {
  lv2_validate "$bundle/manifest.ttl" "$bundle/murkfell.ttl"
  LV2_PATH=$lv2_path lv2info "$plugin_uri" >"$out/lv2info.txt"
  local symbols
  symbols=$(awk '/Symbol:/ {printf "%s ", $2}' "$out/lv2info.txt")
  echo "lv2info: $(grep -c 'Port [0-9]*:' "$out/lv2info.txt") ports: $symbols"
  [[ $symbols == "in out gain bass middle treble level cabsim bypass enabled " ]]
  grep -q 'Designation: http://lv2plug.in/ns/lv2core#enabled' "$out/lv2info.txt"
  cmake --install "$build" --prefix "$out/lv2-prefix" >"$out/lv2-install.log"
  diff -r "$bundle" "$out/lv2-prefix/lib/lv2/murkfell.lv2"
  echo "ok cmake --install wrote lib/lv2/murkfell.lv2, identical to the build's bundle"
  LV2_PATH=$out/lv2-prefix/lib/lv2 lv2ls | grep -qx "$plugin_uri"
  echo "ok lv2ls finds $plugin_uri in the installed copy"
}

# The clean riff as murkfell-render writes it (24-bit) and as 32-bit float, through
# murkfell-render (VST 2.4) and lv2apply (LV2) with the same settings.
lv2_riff() {
  local riff=$out/lv2-riff
  mkdir -p "$riff"
  (cd "$riff" && "$render" >/dev/null)
  LV2_PATH=$lv2_path lv2apply -i "$riff/murkfell-clean.wav" -o "$riff/lv2-24bit.wav" "$plugin_uri"
  # Both write 24-bit samples through libsndfile, murkfell-render with clipping on,
  # which rounds the conversion differently: at most one step apart.
  "$py" "$helpers/compare_wav.py" "$riff/lv2-24bit.wav" "$riff/murkfell-processed.wav" \
    --input "$riff/murkfell-clean.wav"
  "$py" "$helpers/float_input.py" "$riff/murkfell-clean.wav" "$riff/clean-float.wav"
  "$render" "$riff/clean-float.wav" "$riff/vst-defaults.wav" >/dev/null
  LV2_PATH=$lv2_path lv2apply -i "$riff/clean-float.wav" -o "$riff/lv2-defaults.wav" "$plugin_uri"
  "$py" "$helpers/compare_wav.py" --exact "$riff/lv2-defaults.wav" "$riff/vst-defaults.wav"
  "$render" "$riff/clean-float.wav" "$riff/vst-set.wav" --set Gain=0.8 --set Treble=0.3 \
    --set CabSim=0 --set Level=0.7 >/dev/null
  LV2_PATH=$lv2_path lv2apply -i "$riff/clean-float.wav" -o "$riff/lv2-set.wav" -c gain 0.8 \
    -c treble 0.3 -c cabsim 0 -c level 0.7 "$plugin_uri"
  "$py" "$helpers/compare_wav.py" --exact "$riff/lv2-set.wav" "$riff/vst-set.wav" \
    --input "$riff/clean-float.wav"
}

audacity_lv2_render() {
  local riff=$out/riff-lv2
  riff_at "$riff" 48000
  logged "$out/audacity-lv2.log" "$py" "$helpers/audacity_lv2.py" --hosts-lib "$hosts/lib" \
    "$bundle" "$riff/murkfell-clean.wav" "$out/audacity-lv2.wav"
  "$py" "$helpers/compare_wav.py" --exact "$out/audacity-lv2.wav" \
    "$riff/murkfell-processed.wav" --input "$riff/murkfell-clean.wav"
}

ardour_lv2() {
  "$py" "$helpers/ardour_lv2.py" "$bundle" "$out"
}

jalv_editor() {
  "$render" --snapshot "$out/panel-bypassed.png" --set Bypass=1 >/dev/null
  "$render" --snapshot "$out/panel-active.png" >/dev/null
  logged "$out/jalv-editor.log" "$py" "$helpers/jalv_editor.py" --hosts-lib "$hosts/lib" \
    "$bundle" "$out/panel-bypassed.png" "$out/panel-active.png" "$out"
}

passed=0
failed=0
run_check() {
  local title=$1 status start=$SECONDS
  shift
  echo "== $title"
  # A subshell with -e of its own, outside any condition (where bash would ignore
  # -e): the first failing step ends this check, not the stage.
  set +e
  (set -e; "$@")
  status=$?
  set -e
  if ((status == 0)); then
    passed=$((passed + 1))
    echo "-- passed ($((SECONDS - start)) s)"
  else
    failed=$((failed + 1))
    echo "-- FAILED ($((SECONDS - start)) s); artefacts and logs in $out"
  fi
}

run_check "Audacity render vs murkfell-render, 44.1 kHz" audacity_render 44100
# Audacity resumes the plug-in at 44.1 kHz and only then tells it 96 kHz: the
# rate change, with its switch of the oversampling factor, arrives while resumed.
run_check "Audacity render vs murkfell-render, 96 kHz" audacity_render 96000
run_check "Audacity stereo render vs one instance per channel" audacity_stereo
run_check "Audacity editor screenshot" audacity_editor
run_check "Audacity editor clicks" audacity_editor_clicks
run_check "Ardour scan and session" ardour_scan
run_check "Ardour Treble automation export, 48 and 96 kHz" ardour_automation
run_check "cmake --install and Qtractor scan" install_and_qtractor_scan
run_check "LV2 bundle: lv2_validate, lv2info, cmake --install" lv2_bundle
run_check "LV2 riff: lv2apply vs murkfell-render" lv2_riff
run_check "LV2 in Audacity vs murkfell-render, 48 kHz" audacity_lv2_render
run_check "LV2 in Ardour: by URI, by symbol, bypass, export, reload" ardour_lv2
run_check "LV2 editor in jalv.gtk3" jalv_editor

echo "host checks: $passed passed, $failed failed"
((failed == 0))
