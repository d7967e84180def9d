# Debian packages for the scripts that install their own, sourced by them.
# Everything here asks dpkg first, so a rerun with everything present starts
# at once and needs neither root nor the network.

# Prints those of the named packages that are not installed, one a line.
missing_packages() {
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
      echo "$package"
    fi
  done
}

# install_missing [--with-recommends] PACKAGE...
# Installs the named packages that are missing (as root, on Debian 12); the
# packages they merely recommend come along only with --with-recommends.
install_missing() {
  local recommends=(--no-install-recommends)
  if [[ ${1:-} == --with-recommends ]]; then
    recommends=()
    shift
  fi
  local missing
  mapfile -t missing < <(missing_packages "$@")
  if ((${#missing[@]} == 0)); then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${recommends[@]}" "${missing[@]}"
}
