# Sourced (bash) by the test, run and benchmark commands: decides which Windows build runs
# under Wine on this machine. The programs ship as 32-bit (i686) executables, and faults of
# calling conventions, structure sizes and pointer truncation show only in that build, so it is
# the one run wherever the kernel executes 32-bit x86 code. Some kernels cannot (no IA-32
# emulation): there the same sources built for x86-64 run in a 64-bit prefix instead.
#
# Sets wine_arch, the kind of prefix and the name of the build folder below build/ alike (win32
# or win64), and wine_arch_reason (one line for the log). SORTARO_WINE_ARCH=win64 in the
# environment chooses the 64-bit build on a machine that could run both.
#
# Needs root_dir set to the repository's top folder.
: "${root_dir:?set root_dir before sourcing wine-arch.sh}"

# True when the kernel runs a static 32-bit x86 program: 96 bytes of ELF whose only
# instructions are the old system call "exit(42)". A kernel without IA-32 emulation refuses
# to load it (ENOEXEC), so the answer comes at once either way.
runs_i386() {
    local probe="$root_dir/build/.i386-probe" status
    mkdir -p "$root_dir/build"
    # ELF header: 32-bit, little-endian, executable for i386, entry 0x08048054, one program header.
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00' >"$probe"
    printf '\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
    printf '\x00\x00\x00\x00' >>"$probe"
    # One loadable segment, the whole file at 0x08048000, readable and executable.
    printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00' >>"$probe"
    printf '\x05\x00\x00\x00\x00\x10\x00\x00' >>"$probe"
    # mov eax, 1; mov ebx, 42; int 0x80
    printf '\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >>"$probe"
    chmod +x "$probe"
    # Through bash's exec: where the kernel refuses the file, timeout's own exec would hand it
    # to /bin/sh as a script.
    timeout 2 bash -c 'exec "$0"' "$probe" >/dev/null 2>&1
    status=$?
    rm -f "$probe"
    [ "$status" -eq 42 ]
}

if [ "${SORTARO_WINE_ARCH:-}" = win64 ]; then
    wine_arch=win64
    wine_arch_reason="the x86-64 build in a 64-bit prefix, as SORTARO_WINE_ARCH=win64 asks"
elif runs_i386; then
    wine_arch=win32
    wine_arch_reason="the i686 build (as shipped) in a 32-bit prefix: this machine runs 32-bit x86 code"
else
    wine_arch=win64
    wine_arch_reason="the x86-64 build in a 64-bit prefix: this machine's kernel does not run 32-bit x86 code, so 32-bit Wine cannot start here"
fi
