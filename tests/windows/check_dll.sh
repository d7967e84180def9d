#!/bin/sh
# The Windows plug-in as a Windows host and loader see the file: it exports
# exactly its two entry names, imports only DLLs every Windows has (the C++
# runtime, libgcc and winpthread are linked in), stores the six images as
# "DATA" resources under upper-case names in language 1036, and holds no
# vector move that needs 32-byte alignment (Win64 GCC does not align the
# stack for AVX spills).
set -eu
dll=$1
objdump=x86_64-w64-mingw32-objdump
headers=$($objdump -p "$dll")
failed=0
fail() {
  echo "$*"
  failed=1
}

exports=$(echo "$headers" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  awk '/^\t\[/ {print $3}' | sort | tr '\n' ' ')
[ "$exports" = "VSTPluginMain main " ] || fail "unexpected exports: $exports"

system_dlls=" advapi32.dll gdi32.dll gdiplus.dll kernel32.dll msvcrt.dll ole32.dll shlwapi.dll user32.dll "
imports=$(echo "$headers" | awk '/DLL Name:/ {print tolower($3)}' | sort | tr '\n' ' ')
for name in $imports; do
  case $system_dlls in
    *" $name "*) ;;
    *) fail "imports $name, which is not part of Windows" ;;
  esac
done

resources=$(echo "$headers" | sed -n '/The .rsrc Resource Directory section/,/^$/p')
echo "$resources" | grep -q "Entry: name: .*: DATA, Value" || fail "no resource type named DATA"
names=$(echo "$resources" | sed -n 's/.*Entry: name: \[[^]]*\]: \([^,]*\), Value.*/\1/p' |
  grep -v '^DATA$' | sort | tr '\n' ' ')
expected_names="BACKGROUNDBITMAP.PNG BYPASSBITMAP.PNG CABSIMBITMAP.PNG KNOBANIMBITMAP.PNG LEDBITMAP.PNG ORVETONLOGOBITMAP.PNG "
[ "$names" = "$expected_names" ] || fail "unexpected resource names: $names"
languages=$(echo "$resources" | awk '/Entry: ID:/ {print $4}' | tr '\n' ' ')
[ "$languages" = "0x00040c, 0x00040c, 0x00040c, 0x00040c, 0x00040c, 0x00040c, " ] ||
  fail "resources not six in language 1036: $languages"

aligned=$($objdump -d --no-show-raw-insn "$dll" |
  grep -E 'vmov(ap[sd]|dqa(32|64)?|ntp[sd]|ntdq)[[:space:]].*%[yz]mm' | grep '(' || true)
[ -z "$aligned" ] || fail "aligned 32-byte vector moves: $(echo "$aligned" | head -3)"

if [ $failed -ne 0 ]; then
  exit 1
fi
echo "exports: $exports"
echo "imports: $imports"
echo "resources: $names(DATA, language 1036)"
