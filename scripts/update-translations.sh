#!/usr/bin/env bash
# Refreshes the translation sources from the code and the pages; the
# translations themselves are kept. The build compiles them.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate -locations none -no-obsolete app core device transfer media sharing browser protocol qml \
  -ts qml/i18n/tidewell_ui_en.ts qml/i18n/tidewell_ui_zh_CN.ts

# Fills the translations of texts that have an entry in translations.json.
python3 scripts/translations_fill.py
