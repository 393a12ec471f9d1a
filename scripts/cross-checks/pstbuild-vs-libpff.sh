#!/usr/bin/env bash
# Files written by pstbuild must open in independent readers: pffinfo/pffexport and python3-pypff
# (libpff) and readpst (libpst), with the folder tree and per-class counts the recipe says; our own
# pstdump must agree with libpff when it is built. $1 = native build directory.
set -uo pipefail
native="${1:?native build directory}"
pstbuild="$native/bin/pstbuild"
pstdump="$native/bin/pstdump"
[ -x "$pstbuild" ] || { echo "no $pstbuild"; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

# "<count>\t<class>\t<path>" per folder and class of normal messages, sorted; paths from below the
# root folder, joined with "/".
walk() {
  /usr/bin/python3 - "$1" <<'PY'
import sys, collections, pypff
f = pypff.file(); f.open(sys.argv[1])
counts = collections.Counter()
def message_class(m):
    rs = m.get_record_set(0)
    for k in range(rs.number_of_entries):
        e = rs.get_entry(k)
        if e.entry_type == 0x1A:
            return e.get_data_as_string() or ""
    return ""
# libpff of this vintage decodes UTF-16 surrogate pairs wrongly: characters past U+FFFF become "?".
def bmp(text):
    return "".join(c if ord(c) <= 0xFFFF else "?" for c in text)
def visit(folder, path):
    for i in range(folder.number_of_sub_messages):
        counts[(message_class(folder.get_sub_message(i)), path)] += 1
    for i in range(folder.number_of_sub_folders):
        sub = folder.get_sub_folder(i)
        name = bmp(sub.name or "")
        visit(sub, name if not path else path + "/" + name)
visit(f.get_root_folder(), "")
for (cls, path), n in sorted(counts.items(), key=lambda kv: (kv[0][1], kv[0][0])):
    print("%d\t%s\t%s" % (n, cls, path))
PY
}

check_file() {  # file, expected counts file
  local file="$1" expected="$2" name
  name="$(basename "$file")"
  pffinfo "$file" >"$work/$name.info" 2>&1 || fail "$name: pffinfo"
  pffexport -q -t "$work/$name.export" "$file" >"$work/$name.pffexport" 2>&1 || fail "$name: pffexport"
  grep -qi "unable" "$work/$name.pffexport" && fail "$name: pffexport reported errors"
  walk "$file" | LC_ALL=C sort >"$work/$name.libpff" || fail "$name: pypff walk"
  diff -u "$expected" "$work/$name.libpff" || fail "$name: libpff counts differ from the recipe"
  mkdir -p "$work/$name.readpst"
  readpst -q -D -e -b -8 -j 0 -o "$work/$name.readpst" "$file" >"$work/$name.readpstlog" 2>&1 ||
    fail "$name: readpst"
  # readpst converts mail, appointments, contacts and journal entries; its e-mail files
  # (one per converted item) must match libpff's count of those classes.
  local got want
  got="$(find "$work/$name.readpst" -type f \( -name '*.eml' -o -name '*.vcf' -o -name '*.ics' \) | wc -l)"
  want="$(awk -F'\t' '$2 ~ /^(IPM\.Note|ipm\.note|IPM\.Note\.SMIME|REPORT\.IPM\.Note\.NDR|IPM\.Appointment|IPM\.Contact|IPM\.Activity)$/ {s+=$1} END {print s+0}' "$expected")"
  [ "$got" = "$want" ] || fail "$name: readpst wrote $got items, expected $want"
  if [ -x "$pstdump" ]; then
    local mine="$expected"
    [ -f "$expected.pstdump" ] && mine="$expected.pstdump"
    "$pstdump" counts "$file" | LC_ALL=C sort >"$work/$name.pstdump" || fail "$name: pstdump counts"
    diff -u "$mine" "$work/$name.pstdump" || fail "$name: pstdump counts differ from the recipe"
  fi
  echo "ok $name"
}

"$pstbuild" sample "$work/sample.pst" || fail "pstbuild sample"
"$pstbuild" sample "$work/sample-plain.pst" --encoding none || fail "pstbuild sample --encoding none"
"$pstbuild" sample "$work/sample-cyclic.pst" --encoding cyclic || fail "pstbuild sample --encoding cyclic"
LC_ALL=C sort >"$work/sample.expected" <<'TXT'
1	IPM.Contact	Top of Personal Folders/Contacts
1	IPM.DistList	Top of Personal Folders/Contacts
1	IPM.Note	Top of Personal Folders/Deleted Items
1	IPM.Note	Top of Personal Folders/Sent Items
1	IPM.Appointment	Top of Personal Folders/Calendar
1	IPM.Task	Top of Personal Folders/Tasks
1	IPM.Activity	Top of Personal Folders/Journal
1	IPM.StickyNote	Top of Personal Folders/Notes
4	IPM.Note	Top of Personal Folders/Inbox
1	IPM.Note.SMIME	Top of Personal Folders/Inbox
1	REPORT.IPM.Note.NDR	Top of Personal Folders/Inbox
1	ipm.note	Top of Personal Folders/Inbox
1	IPM.Post	Top of Personal Folders/Inbox/Posts
1	IPM.Note	Top of Personal Folders/Projects/2024 \ Q1
TXT
printf '1\tIPM.Note\tTop of Personal Folders/Projects/2024 \\ Q1/\xc3\x9cn\xc3\xafc\xc3\xb6d\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e ?\n' >>"$work/sample.expected"
LC_ALL=C sort -o "$work/sample.expected" "$work/sample.expected"
if [ -x "$pstdump" ]; then
  # Our reader decodes the emoji; compare it against the exact name.
  sed 's/ ?$/ \xf0\x9f\x93\x81/' "$work/sample.expected" >"$work/sample.expected.pstdump"
fi
check_file "$work/sample.pst" "$work/sample.expected"
check_file "$work/sample-plain.pst" "$work/sample.expected"
check_file "$work/sample-cyclic.pst" "$work/sample.expected"

# The same store in either encoding reads equal, item for item, in every reader.
same_as_permute() {  # encoded file; compares what each reader wrote for it with sample.pst's
  local name
  name="$(basename "$1")"
  diff -r "$work/sample.pst.export.export" "$work/$name.export.export" >/dev/null ||
    fail "$name: pffexport output differs from the permute-encoded file"
  # readpst makes up MIME boundaries and stamps the time of the run.
  diff -r -I 'iamunique' -I '^DTSTAMP:' "$work/sample.pst.readpst" "$work/$name.readpst" >/dev/null ||
    fail "$name: readpst output differs from the permute-encoded file"
  if [ -x "$pstdump" ]; then
    "$pstdump" attachments "$1" >"$work/$name.attachments" 2>&1 || fail "$name: pstdump attachments"
    "$pstdump" attachments "$work/sample.pst" >"$work/sample.pst.attachments" 2>&1
    diff -u "$work/sample.pst.attachments" "$work/$name.attachments" ||
      fail "$name: pstdump attachments differ from the permute-encoded file"
  fi
}
same_as_permute "$work/sample-cyclic.pst"
same_as_permute "$work/sample-plain.pst"

n=2000
"$pstbuild" bulk "$n" "$work/bulk.pst" --attachment-bytes 20000 || fail "pstbuild bulk"
{
  classes=("IPM.Note" "IPM.Note" "IPM.Appointment" "IPM.Contact" "IPM.Task" "IPM.Activity" "IPM.StickyNote" "IPM.Note")
  folders=("Inbox" "Sent Items" "Calendar" "Contacts" "Tasks" "Journal" "Notes" "Inbox/Archive")
  for f in 0 1 2 3 4 5 6 7; do
    c=$((n / 8 + (f < n % 8 ? 1 : 0)))
    printf '%d\t%s\tTop of Personal Folders/%s\n' "$c" "${classes[$f]}" "${folders[$f]}"
  done
} | LC_ALL=C sort >"$work/bulk.expected"
check_file "$work/bulk.pst" "$work/bulk.expected"
"$pstbuild" bulk "$n" "$work/bulk-cyclic.pst" --attachment-bytes 20000 --encoding cyclic ||
  fail "pstbuild bulk --encoding cyclic"
check_file "$work/bulk-cyclic.pst" "$work/bulk.expected"

# Same recipe, same bytes.
"$pstbuild" sample "$work/again.pst" && cmp -s "$work/sample.pst" "$work/again.pst" || fail "sample not deterministic"
exit $status
