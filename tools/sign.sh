#!/usr/bin/env bash
# Authenticode signing of the programs, the uninstaller and the installer with osslsigncode.
#
#   sign.sh --test-certificate DIR   makes (once) a throw-away code-signing certificate in DIR:
#                                    certificate.pem (to verify against), signing.pfx, password
#   sign.sh FILE DIR                 signs FILE in place (SHA-256, no time stamp: no network here)
#
# QUORIL_SIGN_PFX and QUORIL_SIGN_PASSWORD, when set, name the real certificate and its password;
# otherwise FILE is signed with DIR's test certificate. The password reaches osslsigncode in a file
# only this user can read, never on a command line other users of the machine can see.
set -euo pipefail

make_test_certificate() {
  local dir=$1
  [ -f "$dir/signing.pfx" ] && [ -f "$dir/certificate.pem" ] && [ -f "$dir/password" ] && return 0
  umask 077
  mkdir -p "$dir"
  local work
  work=$(mktemp -d "$dir/new.XXXXXX")
  trap 'rm -rf "$work"' RETURN
  openssl rand -hex 16 | tr -d "\n" >"$work/password"
  openssl req -x509 -newkey rsa:2048 -sha256 -days 3650 -nodes -keyout "$work/key.pem" -out "$work/certificate.pem" \
    -subj "/CN=Quoril test signing (not trusted)" -addext "extendedKeyUsage=codeSigning" \
    -addext "keyUsage=critical,digitalSignature" 2>/dev/null
  openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/certificate.pem" -out "$work/signing.pfx" \
    -passout "file:$work/password"
  mv "$work/certificate.pem" "$work/signing.pfx" "$work/password" "$dir/"
}

if [ "${1:-}" = --test-certificate ]; then
  make_test_certificate "$2"
  exit 0
fi

file=$1
dir=$2
# osslsigncode writes a new file only: sign into a private folder beside FILE, then replace it.
umask 077
work=$(mktemp -d "$file.signing.XXXXXX")
trap 'rm -rf "$work"' EXIT
if [ -n "${QUORIL_SIGN_PFX:-}" ]; then
  pfx=$QUORIL_SIGN_PFX
  printf '%s' "${QUORIL_SIGN_PASSWORD:-}" >"$work/password"
else
  make_test_certificate "$dir"
  pfx=$dir/signing.pfx
  cp "$dir/password" "$work/password"
fi
[ -f "$pfx" ] || { echo "sign: no certificate at $pfx" >&2; exit 1; }

osslsigncode sign -pkcs12 "$pfx" -readpass "$work/password" -h sha256 -n Quoril \
  -in "$file" -out "$work/signed" >/dev/null
mv -f "$work/signed" "$file"
chmod 644 "$file"
