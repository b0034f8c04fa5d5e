#!/usr/bin/env bash
# Checks the signing path of sign.sh with a throw-away self-signed certificate: a copy of the
# given Windows program is signed and the signature verified against that certificate; a
# wrong password must fail. usage: check-signing.sh FILE.exe
set -euo pipefail
dir="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d "${TMPDIR:-/tmp}/zuohao-sign.XXXXXX")
trap 'rm -rf "$work"' EXIT
umask 077
printf 'test-password\n' >"$work/pass"
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=zuohao test signing" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout "file:$work/pass" \
  -out "$work/test.pfx"
cp "$1" "$work/program.exe"
ZUOHAO_SIGN_CERT="$work/test.pfx" ZUOHAO_SIGN_PASSWORD_FILE="$work/pass" \
  "$dir/sign.sh" "$work/program.exe" >/dev/null
if ! osslsigncode verify -CAfile "$work/cert.pem" -in "$work/program.exe" >"$work/verify.log" 2>&1; then
  cat "$work/verify.log" >&2
  echo "check-signing: the signed copy does not verify" >&2
  exit 1
fi
cmp -s "$1" "$work/program.exe" && { echo "check-signing: nothing was signed" >&2; exit 1; }
printf 'wrong\n' >"$work/wrong"
cp "$1" "$work/other.exe"
if ZUOHAO_SIGN_CERT="$work/test.pfx" ZUOHAO_SIGN_PASSWORD_FILE="$work/wrong" \
  "$dir/sign.sh" "$work/other.exe" >/dev/null 2>&1; then
  echo "check-signing: a wrong password was accepted" >&2
  exit 1
fi
echo "==> signing checked with a test certificate: $(basename "$1") signs and verifies"
