# The Debian architectures whose programs the tests run under user-mode emulation: the emulator
# for each, and the machine that `file` names in its programs. Source it.
garvo_qemu() {
  case $1 in
    arm64) echo qemu-aarch64-static ;;
    armhf) echo qemu-arm-static ;;
  esac
}
garvo_machine() {
  case $1 in
    amd64) echo "x86-64" ;;
    i386) echo "Intel 80386" ;;
    arm64) echo "ARM aarch64" ;;
    armhf) echo "ARM, EABI5" ;;
  esac
}
# Whether the program is of that architecture.
garvo_is_for() { [[ $(file -b "$1") == ELF*", $(garvo_machine "$2")"[\ ,]* ]]; }
