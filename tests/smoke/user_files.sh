#!/usr/bin/env bash
# The program in a folder whose name is not valid UTF-8, beside files of
# the user's that look like its own, started from another folder that holds
# files of the user's too. A run reads the program's own data files and
# writes its meanings page beside them; nothing else is made, changed,
# renamed or removed, in either folder.
#
#   user_files.sh <lotwise> <data-dir>
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 <lotwise> <data-dir>" >&2
  exit 2
fi
program=$1
data=$2

# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"
[ -x "$program" ] || fail "no executable at $program (build it first)"

app="$work/bad"$'\xff\xfe'"utf"
elsewhere="$work/elsewhere"
mkdir "$app" "$elsewhere"
cp "$program" "$data/words.wdb" "$data/dictionary.wdb" "$app/"
page="$app/meanings_tmp.htm"

step "look-alike files of the user's beside the data files"
cp "$data/words.wdb" "$app/words.wdb.Backup"
for name in results.txt.Monday results.txt.2024Q1 dictionary.wdb.bak.Sunday dictionary.wdb.bak.Before \
  meanings_tmp.htm.Keep01 meanings_tmp.htm.Saved1 words.wdb.OLD123 dictionary.wdb.MyCopy dictionary.wdb.uwksgr \
  dictionary.wdb.bak.uwksgr words.wdb.unsaved.old $'results.txt.AbCdEf\n'; do
  echo "the user's own $name" >"$app/$name"
done
echo "the user's own results" >"$elsewhere/results.txt.Monday"
cp "$data/words.wdb" "$elsewhere/words.wdb"

# Every file with its content, names as bytes.
listing() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
listing "$app" >"$work/app.before"
listing "$elsewhere" >"$work/elsewhere.before"
root_page_before=$([ -e /meanings_tmp.htm ] && echo yes || echo no)

start_xvfb
cd "$elsewhere"
start_program "$app/lotwise"

step "F5 runs Tell Me, with the program's own data files"
focus_on "$main"
xdotool key --clearmodifiers F5
wait_for 60 "meanings page beside the program" page_written
grep -q '<b><i>' "$page" || fail "the page holds no entry: $(head -c 200 "$page")"

end_with_ctrl_q

step "nothing but the page was written, in either folder"
listing "$app" | grep -v ' \./meanings_tmp\.htm$' >"$work/app.after" || true
diff -u "$work/app.before" "$work/app.after" || fail "the program's folder changed beyond its page"
listing "$elsewhere" >"$work/elsewhere.after"
diff -u "$work/elsewhere.before" "$work/elsewhere.after" || fail "the folder it was started from changed"
if [ "$root_page_before" = no ] && [ -e /meanings_tmp.htm ]; then
  fail "a meanings page was written in /"
fi
echo "PASS"
