#!/usr/bin/env bash
# Root set-up for the vsftpd tests, safe to run again: a local user with a SHA-512 password
# (Debian's default yescrypt costs ~0.1 s a login) and a PAM service of its own (Debian's
# vsftpd service wants a login shell through pam_shells; this one does not).
set -euo pipefail
user=peltoftp
password=pelto-ftp-secret # the tests log in with this; the user owns nothing else

[ "$(id -u)" = 0 ] || { echo "setup-vsftpd: needs root" >&2; exit 1; }
# Tests may run this side by side: one at a time.
exec 9>/run/pelto-vsftpd-setup.lock
flock 9

command -v vsftpd >/dev/null || { echo "setup-vsftpd: vsftpd is not installed (scripts/setup.sh)" >&2; exit 1; }

home=/var/lib/$user # vsftpd enters the home folder before local_root: it must exist
id -u "$user" >/dev/null 2>&1 ||
  useradd --system --no-create-home --home-dir "$home" --shell /usr/sbin/nologin "$user"
[ "$(getent passwd "$user" | cut -d: -f6)" = "$home" ] || usermod -d "$home" "$user"
install -d -m 0755 -o root -g root "$home"
# A fixed salt keeps the hash the same from run to run: set only when it differs.
if command -v openssl >/dev/null; then
  hash=$(openssl passwd -6 -salt peltoftpsalt "$password")
else # Debian 12's Python 3.11 still has crypt
  hash=$(/usr/bin/python3 -W ignore -c 'import crypt, sys; print(crypt.crypt(sys.argv[1], "$6$peltoftpsalt"))' "$password")
fi
[ "$(getent shadow "$user" | cut -d: -f2)" = "$hash" ] || usermod -p "$hash" "$user"

pam=/etc/pam.d/pelto-vsftpd
want=$'auth required pam_unix.so\naccount required pam_unix.so\nsession required pam_permit.so'
[ "$(cat "$pam" 2>/dev/null)" = "$want" ] || printf '%s\n' "$want" >"$pam"

# vsftpd's secure_chroot_dir: empty, owned by root, not writable by others.
install -d -m 0755 -o root -g root /run/pelto-vsftpd-empty
