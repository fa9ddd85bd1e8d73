#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Idempotent: does
# nothing when everything is present.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libboost-log-dev libboost-thread-dev libboost-filesystem-dev
    libboost-system-dev libboost-date-time-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libudev1 udev
)
# The Java binding: javac and jar, and the cross compiler of its 32-bit build.
packages+=(openjdk-17-jdk-headless g++-i686-linux-gnu)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi
