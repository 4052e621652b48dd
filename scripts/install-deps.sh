#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; does nothing when all are present.
set -euo pipefail

packages=(
    g++ make cmake pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libutf8proc-dev
    gettext locales
    libjpeg-dev
    emscripten node-acorn chromium chromium-driver python3-selenium
    libcurl4-openssl-dev python3-pyftpdlib
    coinor-libcbc-dev
    clang libclang-rt-14-dev
    libwxgtk3.2-dev wx3.2-i18n fonts-dejavu-core xvfb xauth imagemagick
    libzip-dev libexpat1-dev libxlsxwriter-dev libcairo2-dev python3-openpyxl poppler-utils
)
# The browser page reads XLSX signal lists with two npm packages, fetched when the page is built;
# a Node.js that brings its own npm needs no other.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

# The Czech locale, in which the tests check the tool's Czech messages and in which GTK speaks
# Czech in the desktop calculator.
ensure_czech_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
        "${sudo_cmd[@]}" sed -i 's/^# *\(cs_CZ\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        "${sudo_cmd[@]}" locale-gen cs_CZ.UTF-8 >/dev/null
    fi
}

if [ ${#missing[@]} -eq 0 ]; then
    ensure_czech_locale
    exit 0
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_czech_locale
