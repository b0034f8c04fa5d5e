#!/usr/bin/env bash
# Signs Windows programs in place (Authenticode, osslsigncode) when ZUOHAO_SIGN_CERT names a
# PKCS#12 certificate with its key (.pfx or .p12) and ZUOHAO_SIGN_PASSWORD_FILE a file that
# holds its password; ZUOHAO_SIGN_TIMESTAMP_URL, when set, adds a time stamp from that
# server. Without a certificate it signs nothing and says "unsigned".
# usage: sign.sh FILE...
set -euo pipefail
cert=${ZUOHAO_SIGN_CERT:-}
pass=${ZUOHAO_SIGN_PASSWORD_FILE:-}
if [ -z "$cert" ] && [ -z "$pass" ]; then
  for f in "$@"; do echo "unsigned: $(basename "$f")"; done
  exit 0
fi
# Half a configuration is a mistake, not a reason to ship unsigned programs quietly.
[ -n "$cert" ] && [ -f "$cert" ] || { echo "ZUOHAO_SIGN_CERT names no file: '$cert'" >&2; exit 1; }
[ -n "$pass" ] && [ -f "$pass" ] || { echo "ZUOHAO_SIGN_PASSWORD_FILE names no file: '$pass'" >&2; exit 1; }
command -v osslsigncode >/dev/null || { echo "signing needs osslsigncode" >&2; exit 1; }
stamp=()
[ -n "${ZUOHAO_SIGN_TIMESTAMP_URL:-}" ] && stamp=(-ts "$ZUOHAO_SIGN_TIMESTAMP_URL")
for f in "$@"; do
  signed="$f.signed"
  rm -f "$signed"
  osslsigncode sign -pkcs12 "$cert" -readpass "$pass" -h sha256 \
    -n "做号计划 zuohao" "${stamp[@]}" -in "$f" -out "$signed" >/dev/null
  mv -f "$signed" "$f"
  echo "signed: $(basename "$f")"
done
