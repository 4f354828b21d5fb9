#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing; a script that
# needs more (the package test, the screenshots) names them as arguments.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth xdotool xclip x11-utils openbox desktop-file-utils clang-14
          libclang-rt-14-dev patch libgettextpo-dev gettext translate-toolkit groff-base
          bash-completion pkg-config python3 python3-yaml python3-jsonschema "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
