#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Run as root or
# with sudo; packages already present are left as they are.
set -euo pipefail

packages=(build-essential cmake libgtest-dev libbenchmark-dev libwxgtk3.2-dev xvfb xauth
          python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
