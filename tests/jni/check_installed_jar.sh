#!/usr/bin/env bash
# The installed zumbrajni.jar holds the classes of the binding's Java sources
# and nothing else: a class for each source file under <java sources> (and
# the nested classes of those), its manifest, and the folders of them. A
# class whose source is gone, or a source whose class is missing, fails.
#   check_installed_jar.sh <zumbrajni.jar> <java sources, jni/java>
# The JDK's jar lists it; JAR names another than the one on the PATH.
set -euo pipefail
export LC_ALL=C
jar=$1
sources=$2

[[ -f $jar ]] || { echo "no jar at $jar"; exit 1; }
entries=$("${JAR:-jar}" --list --file "$jar")
expected=$(cd "$sources" && find zumbra -name '*.java' | sed 's/\.java$/.class/' | sort)
# The top-level classes: a nested class X$Y.class belongs to X.class.
classes=$(grep '\.class$' <<<"$entries" | grep -v '\$' | sort || true)
status=0
if [[ $classes != "$expected" ]]; then
  echo "$jar holds other classes than the sources of $sources:"
  { diff <(echo "$expected") <(echo "$classes") || true; } | sed -n 's/^< /  missing: /p; s/^> /  extra:   /p'
  status=1
fi
while IFS= read -r entry; do
  case $entry in
    META-INF/ | META-INF/MANIFEST.MF | */) continue ;;
  esac
  if [[ $entry == *'$'*.class ]]; then
    grep -qxF "${entry%%\$*}.class" <<<"$expected" && continue
  elif [[ $entry == *.class ]]; then
    continue  # compared above
  fi
  echo "$jar holds $entry, which is no class of the binding"
  status=1
done <<<"$entries"
((status)) || echo "$jar: the $(grep -c . <<<"$expected") classes of the binding's sources, and nothing else"
exit $status
