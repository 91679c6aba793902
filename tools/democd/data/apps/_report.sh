# Shared by the report scripts: writes an HTML page and opens it in the browser.
report_dir="${TMPDIR:-/tmp}"
report_file=$(mktemp "$report_dir/katalog-demo-XXXXXX.html")
esc() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }
report_start() {
    cat > "$report_file" <<HTML
<!DOCTYPE html><html lang="cs"><head><meta charset="utf-8"><title>$1</title>
<style>body{font-family:"DejaVu Sans",sans-serif;background:#f4f8fc;color:#1c2b3a;margin:0}
h1{background:#17365d;color:#fff;margin:0;padding:10px 18px;border-bottom:3px solid #fcca2c;font-size:20px}
h2{color:#17365d;font-size:16px;margin:18px 18px 4px}pre{background:#fff;border:1px solid #b3c6dc;border-radius:8px;margin:0 18px;padding:10px;overflow:auto}</style>
</head><body><h1>$1</h1>
HTML
}
report_section() {
    printf '<h2>%s</h2><pre>' "$1" >> "$report_file"
    esc >> "$report_file"
    printf '</pre>\n' >> "$report_file"
}
report_show() {
    printf '</body></html>\n' >> "$report_file"
    if command -v xdg-open > /dev/null 2>&1; then
        xdg-open "$report_file" > /dev/null 2>&1 &
    else
        echo "Zpráva je uložena v souboru $report_file"
    fi
}
