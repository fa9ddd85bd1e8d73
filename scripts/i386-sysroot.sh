#!/usr/bin/env bash
# Builds a private i386 tree for the 32-bit Java library and its tests:
#   DIR/root        static Boost libraries, a 32-bit JRE and its C runtime,
#                   unpacked from Debian's i386 packages (nothing is installed
#                   on the host except the cross compiler g++-i686-linux-gnu)
#   DIR/include     the host's Boost headers (same version as the libraries)
#   DIR/java32      runs the 32-bit JVM: directly through the tree's loader
#                   when the kernel runs 32-bit programs, else under
#                   qemu-i386-static
# Usage: scripts/i386-sysroot.sh DIR
# Does nothing when DIR already holds a complete tree made by this script for
# the host's Boost version.
# VELA_I386_RUNNER=qemu chooses the emulator even where the kernel would run
# 32-bit programs (to check that path).
set -euo pipefail

dir=$(mkdir -p "$1" && cd "$1" && pwd)
root=$dir/root
multiarch=i386-linux-gnu

boost_version=$(dpkg-query -W -f='${Version}' libboost-log1.74-dev 2>/dev/null || true)
[ -n "$boost_version" ] || { echo "i386-sysroot: host Boost 1.74 headers missing" >&2; exit 1; }
stamp_key="boost=$boost_version script=$(sha1sum <"$0" | cut -c1-16)"
if [ -f "$dir/complete" ] && [ "$(cat "$dir/complete")" = "$stamp_key" ]; then
    exit 0
fi

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if ! command -v i686-linux-gnu-g++ >/dev/null; then
    echo "i386-sysroot: installing the cross compiler"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        g++-i686-linux-gnu >/dev/null
fi

# A private apt state whose native architecture is i386: downloads the i386
# packages without adding an architecture to the host's dpkg.
sandbox=()
[ "$(id -u)" -eq 0 ] && sandbox=(-o APT::Sandbox::User=root)
apt_i386() {
    apt-get -q "${sandbox[@]}" -o Dir::State="$dir/apt/state" -o Dir::State::status="$dir/apt/status" \
        -o Dir::Cache="$dir/apt/cache" -o Dir::Etc::SourceList=/dev/null \
        -o APT::Architecture=i386 -o APT::Architectures::=i386 \
        -o Debug::NoLocking=1 "$@"
}
rm -rf "$dir/debs"  # left over from an interrupted run
mkdir -p "$dir/apt/state/lists/partial" "$dir/apt/cache/archives/partial" "$dir/debs"
touch "$dir/apt/status"
echo "i386-sysroot: fetching the i386 package lists"
apt_i386 update >/dev/null

boost_components=(log thread filesystem system date-time atomic chrono regex)
packages=()
for c in "${boost_components[@]}"; do
    packages+=("libboost-$c""1.74-dev=$boost_version" "libboost-$c""1.74.0=$boost_version")
done
packages+=(openjdk-17-jre-headless libc6 libgcc-s1 libstdc++6 zlib1g)

echo "i386-sysroot: downloading ${#packages[@]} packages"
(cd "$dir/debs" && apt_i386 download "${packages[@]}" >/dev/null)

rm -rf "$root"
mkdir -p "$root"
for deb in "$dir"/debs/*.deb; do
    dpkg -x "$deb" "$root"
done

# The JRE links part of its configuration to /etc/java-17-openjdk, which on
# the host holds the amd64 JRE's files: point those links into the tree.
jre=$root/usr/lib/jvm/java-17-openjdk-i386
find "$jre" -type l -lname '/etc/*' | while read -r link; do
    ln -sfn "$root$(readlink "$link")" "$link"
done

# Boost headers are architecture-neutral; take the host's so that headers and
# libraries are one version.
mkdir -p "$dir/include"
ln -sfn /usr/include/boost "$dir/include/boost"

# A static probe tells whether this kernel runs 32-bit programs at all.
probe=$dir/probe32
printf 'int main(void) { return 0; }\n' | i686-linux-gnu-gcc -static -x c - -o "$probe"
# The runner lines are expanded inside java32, not here.
# shellcheck disable=SC2016
if [ "${VELA_I386_RUNNER:-}" != qemu ] && "$probe" 2>/dev/null; then
    runner='"$root/lib/ld-linux.so.2" --library-path "$libs" "$@"'
else
    echo "i386-sysroot: the 32-bit JVM will run under qemu-i386-static"
    (cd "$dir/debs" && apt-get -q "${sandbox[@]}" download qemu-user-static >/dev/null)
    mkdir -p "$dir/qemu"
    dpkg -x "$dir"/debs/qemu-user-static_*.deb "$dir/qemu"
    runner='"$dir/qemu/usr/bin/qemu-i386-static" -L "$root" -E LD_LIBRARY_PATH="$libs" -E GCONV_PATH="$GCONV_PATH" "$@"'
fi

cat >"$dir/java32" <<EOF
#!/usr/bin/env bash
# Runs the i386 JVM of this tree with the given arguments.
set -euo pipefail
dir="$dir"
root="$root"
libs="\$root/lib/$multiarch:\$root/usr/lib/$multiarch"
export GCONV_PATH="\$root/usr/lib/$multiarch/gconv"
set -- "$jre/bin/java" "\$@"
exec $runner
EOF
chmod +x "$dir/java32"

rm -rf "$dir/debs" "$dir/apt"  # unpacked; only the tree is kept
echo "$stamp_key" >"$dir/complete"
echo "i386-sysroot: ready in $dir"
