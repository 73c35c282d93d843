#!/bin/sh
# Writes the release notes from NEWS, where they are written once:
#
#   release/news.sh debian NEWS MAINTAINER       the Debian changelog, every release
#   release/news.sh appstream NEWS TEMPLATE      TEMPLATE with its line @RELEASES@
#                                                replaced by every release, as AppStream has them
#   release/news.sh latest NEWS en|ru            the newest release's changes, as plain text
#
# NEWS says at its top how it is written. A line it cannot read stops this
# with its number, so a slip in NEWS cannot reach a package unnoticed.
set -eu
what=$1 news=$2 arg=${3:-}
# The template is read after NEWS, line by line.
if [ "$what" = appstream ]; then set -- "$news" "$arg"; else set -- "$news"; fi

exec awk -v what="$what" -v arg="$arg" -v news="$news" '
function fail(why) { printf "%s:%d: %s\n", news, FNR, why > "/dev/stderr"; failed = 1; exit 1 }
function xml(text) { gsub(/&/, "\\&amp;", text); gsub(/</, "\\&lt;", text); gsub(/>/, "\\&gt;", text); return text }
function joined(text) { gsub(/\n/, " ", text); return text }
# An RFC 5322 date, as Debian wants it; date -R writes it in English in any locale.
function debian_date(day,   command, out) {
    command = "date -u -R -d " day
    command | getline out
    close(command)
    return out
}

FILENAME == news {
    if ($0 ~ /^[0-9]+\.[0-9]+\.[0-9]+ \([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]\)$/) {
        n++; version[n] = $1; date[n] = substr($2, 2, 10); items[n] = 0; lang = ""
    } else if (n == 0 || $0 == "") {
        # the introduction, and the blank lines between releases
    } else if ($0 ~ /^\* /) {
        i = ++items[n]; en[n, i] = substr($0, 3); ru[n, i] = ""; lang = "en"
    } else if ($0 ~ /^  ru: / && lang == "en") {
        ru[n, i] = substr($0, 7); lang = "ru"
    } else if ($0 ~ /^  [^ ]/ && lang == "en") {
        en[n, i] = en[n, i] "\n" substr($0, 3)
    } else if ($0 ~ /^  [^ ]/ && lang == "ru") {
        ru[n, i] = ru[n, i] "\n" substr($0, 3)
    } else {
        fail("not a release heading, a change or its continuation: " $0)
    }
    next
}

what == "appstream" && /@RELEASES@/ {
    for (r = 1; r <= n; r++) {
        printf "    <release version=\"%s\" date=\"%s\">\n      <description>\n        <ul>\n", version[r], date[r]
        for (i = 1; i <= items[r]; i++) {
            printf "          <li>%s</li>\n", xml(joined(en[r, i]))
            if (ru[r, i] != "") printf "          <li xml:lang=\"ru\">%s</li>\n", xml(joined(ru[r, i]))
        }
        printf "        </ul>\n      </description>\n    </release>\n"
    }
    next
}
what == "appstream" { print; next }

END {
    if (failed) exit 1
    if (n == 0) { printf "%s: no release in it\n", news > "/dev/stderr"; exit 1 }
    for (r = 1; r <= n; r++) for (i = 1; i <= items[r]; i++)
        if (ru[r, i] == "") { printf "%s: a change of %s has no Russian\n", news, version[r] > "/dev/stderr"; exit 1 }
    if (what == "debian") {
        for (r = 1; r <= n; r++) {
            if (r > 1) print ""
            printf "tsifrolet (%s) unstable; urgency=medium\n\n", version[r]
            for (i = 1; i <= items[r]; i++) {
                text = en[r, i]; gsub(/\n/, "\n    ", text)
                printf "  * %s\n", text
            }
            printf "\n -- %s  %s\n", arg, debian_date(date[r])
        }
    } else if (what == "latest") {
        for (i = 1; i <= items[1]; i++) {
            text = arg == "ru" ? ru[1, i] : en[1, i]; gsub(/\n/, "\n  ", text)
            printf "* %s\n", text
        }
    } else if (what != "appstream") {
        printf "news.sh: unknown output %s\n", what > "/dev/stderr"; exit 1
    }
}' "$@"
