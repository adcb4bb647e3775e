#!/usr/bin/env bash
# Installs the build and test tools from Debian's packages and fetches the
# sources of the third-party libraries that the build compiles for each target.
# Idempotent: a second run installs and fetches nothing that is already there.
# Runs as root on Debian 12. It never edits /etc/apt: the extra package sources
# (non-free, deb-src) live in a private apt configuration under .deps/apt.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
deps="$repo/.deps"
apt_dir="$deps/apt"
src_dir="$deps/src"

packages=(
  cmake ninja-build make pkg-config
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 wine32:i386 xvfb xauth  # wine32: the i686 release program runs in the same prefix
  osslsigncode openssl libssl-dev dpkg-dev
  googletest python3 python3-pytest python3-pefile python3-jsonschema
  fonts-wqy-zenhei  # Chinese, Japanese and Korean glyphs in the window screenshots
  imagemagick  # import: the demo's screenshots of the screen
  clang-14 libclang-rt-14-dev  # the fuzz targets (scripts/fuzz.sh): libFuzzer and the sanitizers
  git  # the reproducibility check builds from clones; the release image carries the commit date
)

log() { printf '[setup] %s\n' "$*"; }

missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || printf '%s\n' "$p"
  done
}

# The Debian mirror the machine already uses, read from its apt configuration.
debian_mirror() {
  local uri
  uri=$(grep -h -E '^\s*URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null \
          | awk '{print $2}' | grep -v -E 'security' | grep -E '/debian/?$' | head -n 1 || true)
  if [ -z "$uri" ] && [ -f /etc/apt/sources.list ]; then
    uri=$(awk '$1 == "deb" && $0 !~ /security/ {for (i = 2; i <= NF; i++) if ($i ~ /^(http|https|ftp):/) {print $i; exit}}' /etc/apt/sources.list)
  fi
  [ -n "$uri" ] || { echo "setup: no Debian mirror found in /etc/apt" >&2; exit 1; }
  printf '%s\n' "${uri%/}"
}

private_apt() {
  apt-get -q -o Dir::Etc::SourceList="$apt_dir/sources.list" -o Dir::Etc::SourceParts="$apt_dir/empty.d" \
    -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache" \
    -o APT::Sandbox::User=root "$@"
}

# wine32 is an i386 package: dpkg must know that architecture before apt can
# resolve it. Adding it changes no package source.
add_i386_architecture() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture to dpkg (for wine32)"
    dpkg --add-architecture i386
  fi
}

install_packages() {
  local todo
  add_i386_architecture
  todo=$(missing_packages "${packages[@]}")
  if [ -n "$todo" ]; then
    log "installing: $(echo $todo)"
    apt-get -q update
    DEBIAN_FRONTEND=noninteractive apt-get -q install -y --no-install-recommends $todo
  fi
}

prepare_private_apt() {
  local mirror keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  mirror=$(debian_mirror)
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/empty.d"
  cat > "$apt_dir/sources.list.new" <<LIST
deb [signed-by=$keyring] $mirror bookworm non-free
deb-src [signed-by=$keyring] $mirror bookworm main non-free
LIST
  if ! cmp -s "$apt_dir/sources.list.new" "$apt_dir/sources.list" || [ -z "$(ls -A "$apt_dir/lists" | grep -v partial)" ]; then
    mv "$apt_dir/sources.list.new" "$apt_dir/sources.list"
    log "updating the private package lists"
    private_apt -o Dir::State::status=/dev/null update
  else
    rm -f "$apt_dir/sources.list.new"
  fi
}

install_rar() {
  if [ -z "$(missing_packages rar)" ]; then return; fi
  log "installing the rar archiver (non-free) for test archives"
  DEBIAN_FRONTEND=noninteractive private_apt install -y --no-install-recommends rar
}

# Each source package is unpacked (with Debian's patches) into "<package>-<version>".
fetch_sources() {
  mkdir -p "$src_dir"
  local pkg
  for pkg in libjsoncpp tinyxml2 unrar-nonfree; do
    if ls -d "$src_dir/$pkg"-[0-9]*/ >/dev/null 2>&1; then continue; fi
    log "fetching the source package $pkg"
    (cd "$src_dir" && private_apt -o Dir::State::status=/dev/null source --download-only \
        -o APT::Get::Only-Source=true "$pkg")
    (cd "$src_dir" && dpkg-source --no-check -x "$(ls "$pkg"_*.dsc | head -n 1)" >/dev/null)
  done
  # Stable names for the build.
  local link
  for link in jsoncpp:libjsoncpp tinyxml2:tinyxml2 unrar:unrar-nonfree; do
    ln -sfn "$(cd "$src_dir" && ls -d "${link#*:}"-[0-9]*/ | head -n 1)" "$src_dir/${link%%:*}"
  done
}

install_packages
prepare_private_apt
install_rar
fetch_sources
log "ready: sources in $src_dir"
