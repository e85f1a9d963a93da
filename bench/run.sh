#!/usr/bin/env bash
# Serving benchmark: our server, nginx and lighttpd side by side on 127.0.0.1, the system calls
# each makes per request, a push to users whose polls are held, then the GUI-thread stall probe.
# Builds what it needs into build-bench/, works in a temporary folder, and stops every process it
# started. See bench/README.md.
#
#   bench/run.sh            # ROUNDS=3 SECS=3 by default; both may be set in the environment
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
build="${VANTRO_BENCH_BUILD:-$repo/build-bench}"
rounds="${ROUNDS:-3}"
secs="${SECS:-3}"
servers=(vantro nginx lighttpd)
# name, path, connections
loads=("1k /1k.bin 10" "64k /64k.bin 10" "10m /10m.bin 1")

log() { echo "bench: $*" >&2; }

# ---- tools ------------------------------------------------------------------------------------
install_tools() {
  local missing=()
  command -v nginx >/dev/null || missing+=(nginx-light)
  command -v lighttpd >/dev/null || missing+=(lighttpd)
  command -v strace >/dev/null || missing+=(strace)
  command -v curl >/dev/null || missing+=(curl)
  [ ${#missing[@]} -eq 0 ] && return
  log "installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  # A stale package list is the usual reason an install fails; refresh it only then.
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null \
    || { "${sudo[@]}" apt-get update >/dev/null \
         && "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >/dev/null; }
}

build_tools() {
  if [ ! -f "$build/build.ninja" ]; then
    log "configuring $build"
    cmake -S "$repo" -B "$build" -G Ninja -DVANTRO_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  ninja -C "$build" -j2 vantro-testhost vantro-stallprobe vantro-httpload vantro-pushprobe >/dev/null
  testhost="$build/vantro-testhost"
  tools="$build"
}

# ---- processes --------------------------------------------------------------------------------
work=""
host_pid=""
nginx_pid=""
lighttpd_pid=""
declare -A port pid

# stop PID SIGNAL: asks a process to stop, then makes sure it has
stop() {
  kill "-$2" "$1" 2>/dev/null
  for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$1" 2>/dev/null || break; sleep 0.2; done
  kill -KILL "$1" 2>/dev/null
  wait "$1" 2>/dev/null
}

cleanup() {
  set +e
  if [ -n "$host_pid" ]; then
    exec 7>&- # the test host stops when its standard input closes
    for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$host_pid" 2>/dev/null || break; sleep 0.2; done
    stop "$host_pid" TERM
  fi
  [ -n "$nginx_pid" ] && stop "$nginx_pid" QUIT
  [ -n "$lighttpd_pid" ] && stop "$lighttpd_pid" TERM
  [ -n "$work" ] && rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# free_port [AFTER]: a free loopback port in 20080-20180, above AFTER when given
free_port() {
  local candidate
  for candidate in $(seq $((${1:-20079} + 1)) 20180); do
    if ! ss -Htln "sport = :$candidate" | grep -q .; then
      echo "$candidate"
      return
    fi
  done
  log "no free port in 20080-20180"
  exit 1
}

# serving PORT: true once a server answers on the port
serving() { curl -fs -o /dev/null "http://127.0.0.1:$1/1k.bin"; }

start_host() {
  mkfifo "$work/host.in"
  "$testhost" --root "$work/root" --port 0 <"$work/host.in" >"$work/host.out" 2>"$work/host.err" &
  host_pid=$!
  pid[vantro]=$host_pid
  exec 7>"$work/host.in"
  for _ in $(seq 50); do
    port[vantro]=$(awk '/^listening/ {print $2}' "$work/host.out")
    [ -n "${port[vantro]}" ] && return
    sleep 0.1
  done
  log "the test host did not start: $(cat "$work/host.err")"
  exit 1
}

start_nginx() {
  local dir="$work/nginx" user_line=""
  mkdir -p "$dir/logs"
  port[nginx]=$(free_port)
  # As root the worker would otherwise drop to an account that cannot read the temporary folder.
  [ "$(id -u)" -eq 0 ] && user_line="user root root;"
  cat >"$dir/nginx.conf" <<EOF
$user_line
daemon off;
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/logs/error.log warn;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    keepalive_timeout 0;
    client_body_temp_path $dir/body;
    proxy_temp_path $dir/proxy;
    fastcgi_temp_path $dir/fastcgi;
    uwsgi_temp_path $dir/uwsgi;
    scgi_temp_path $dir/scgi;
    types { application/octet-stream bin; }
    server {
        listen 127.0.0.1:${port[nginx]};
        root $work/root;
    }
}
EOF
  nginx -p "$dir" -c "$dir/nginx.conf" -e "$dir/logs/error.log" &
  nginx_pid=$!
  for _ in $(seq 50); do
    if serving "${port[nginx]}"; then
      pid[nginx]=$(pgrep -P "$nginx_pid" | head -1)
      [ -n "${pid[nginx]}" ] && return
    fi
    sleep 0.1
  done
  log "nginx did not start: $(cat "$dir/logs/error.log")"
  exit 1
}

# lighttpd configured alike: one process, no keep-alive, sendfile, no access log.
start_lighttpd() {
  local dir="$work/lighttpd"
  mkdir -p "$dir"
  port[lighttpd]=$(free_port "${port[nginx]}")
  cat >"$dir/lighttpd.conf" <<EOF
server.document-root = "$work/root"
server.bind = "127.0.0.1"
server.port = ${port[lighttpd]}
server.pid-file = "$dir/lighttpd.pid"
server.errorlog = "$dir/error.log"
server.max-worker = 0
server.max-keep-alive-requests = 0
server.network-backend = "sendfile"
mimetype.assign = (".bin" => "application/octet-stream")
EOF
  lighttpd -D -f "$dir/lighttpd.conf" 2>"$dir/stderr" &
  lighttpd_pid=$!
  pid[lighttpd]=$lighttpd_pid
  for _ in $(seq 50); do
    serving "${port[lighttpd]}" && return
    sleep 0.1
  done
  log "lighttpd did not start: $(cat "$dir/stderr" "$dir/error.log" 2>/dev/null)"
  exit 1
}

# ---- measuring --------------------------------------------------------------------------------
clock_ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
load_average() { cut -d' ' -f1 /proc/loadavg; }

# load SERVER LOAD PATH CONNECTIONS: one httpload run; appends
# "SERVER-LOAD rps mbps cpu_us_per_request failed load_average"
load() {
  local server=$1 name=$2 path=$3 conc=$4 before after out
  before=$(cpu_ticks "${pid[$server]}")
  out=$("$tools/vantro-httpload" "${port[$server]}" "$path" "$conc" "$secs") || true
  after=$(cpu_ticks "${pid[$server]}")
  echo "$out" | awk -v n="$server-$name" -v b="$before" -v a="$after" -v hz="$clock_ticks" \
                    -v l="$(load_average)" '{
      printf "%s %.0f %.1f %.1f %d %s\n", n, $10, $12, ($2 > 0 ? (a - b) * 1e6 / hz / $2 : 0), $4, l
    }' >>"$work/results"
}

# syscalls SERVER LOAD PATH CONNECTIONS: system calls of the serving process per request, counted
# by strace over one short run; appends "SERVER-LOAD-calls calls_per_request"
syscalls() {
  local server=$1 name=$2 path=$3 conc=$4 tracer out
  strace -c -f -o "$work/strace.out" -p "${pid[$server]}" 2>/dev/null &
  tracer=$!
  sleep 0.5 # attached to every thread before the load starts
  out=$("$tools/vantro-httpload" "${port[$server]}" "$path" "$conc" 2) || true
  sleep 0.2 # the last connections' closes are counted too
  kill -INT "$tracer"
  wait "$tracer" 2>/dev/null || true
  awk -v n="$server-$name-calls" -v r="$(awk '{print $2}' <<<"$out")" \
    '$NF == "total" {printf "%s %.1f\n", n, (r > 0 ? $4 / r : 0)}' "$work/strace.out" \
    >>"$work/results"
}

# median NAME FIELD: the median of one column over the rounds
median() {
  awk -v n="$1" -v f="$2" '$1 == n {print $f}' "$work/results" | sort -g \
    | awk '{v[NR] = $1} END {if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2];
                             else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

sum_failed() { awk -v n="$1-" 'index($1, n) == 1 && NF == 6 {s += $5} END {print s + 0}' "$work/results"; }

# ---- run --------------------------------------------------------------------------------------
started=$(date +%s)
install_tools
build_tools

work=$(mktemp -d /tmp/vantro-bench.XXXXXX)
mkdir "$work/root"
head -c 1024 /dev/urandom >"$work/root/1k.bin"
head -c $((64 * 1024)) /dev/urandom >"$work/root/64k.bin"
head -c $((10 * 1024 * 1024)) /dev/urandom >"$work/root/10m.bin"
: >"$work/results"

start_host
start_nginx
start_lighttpd
for server in "${servers[@]}"; do log "$server on 127.0.0.1:${port[$server]} (pid ${pid[$server]})"; done

log "$rounds rounds of ${secs}s for each load and server, interleaved"
for _ in $(seq "$rounds"); do
  for entry in "${loads[@]}"; do
    read -r name path conc <<<"$entry"
    for server in "${servers[@]}"; do load "$server" "$name" "$path" "$conc"; done
  done
done

log "system calls per request (strace)"
for server in "${servers[@]}"; do
  syscalls "$server" 1k /1k.bin 10
  syscalls "$server" 10m /10m.bin 1
done
syscall_load=$(load_average)

log "a push to 10 users whose polls are held"
push=$("$tools/vantro-pushprobe" "${port[vantro]}" "$work/host.in" 10 5) \
  || log "the push probe failed"
push_load=$(load_average)

log "GUI-thread stall, 10 downloads of 100 MiB"
stall=$("$tools/vantro-stallprobe" --clients 10 --size-mb 100 --timeout 60) \
  || log "the stall probe failed"
stall_load=$(load_average)

# ---- report -----------------------------------------------------------------------------------
field() { awk -v k="$2" '{for (i = 1; i < NF; i++) if ($i == k) print $(i + 1)}' <<<"$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
verdict() { awk -v v="$1" -v t="$2" -v op="$3" 'BEGIN {
  ok = (op == ">=") ? (v >= t) : (op == "<=") ? (v <= t) : (v < t); print ok ? "met" : "MISSED" }'; }
scaled() { awk -v x="$1" -v s="$2" 'BEGIN {printf "%.1f", x / s}'; }
line() { printf "%-40s %10s %10s %10s %7s %6s   %s\n" "$@"; }

# row LABEL LOAD FIELD TARGET_OP TARGET [SCALE]: the three servers' medians, ours to nginx's,
# and the median load average beside our runs
row() {
  local label=$1 name=$2 f=$3 op=$4 target=$5 scale=${6:-1} v n r
  v=$(scaled "$(median "vantro-$name" "$f")" "$scale")
  n=$(scaled "$(median "nginx-$name" "$f")" "$scale")
  r=$(ratio "$v" "$n")
  line "$label" "$v" "$n" "$(scaled "$(median "lighttpd-$name" "$f")" "$scale")" "$r" \
    "$(median "vantro-$name" 6)" "ratio $op $target: $(verdict "$r" "$target" "$op")"
}

calls_row() {
  local v
  v=$(median "vantro-$2-calls" 2)
  line "$1" "$v" "$(median "nginx-$2-calls" 2)" "$(median "lighttpd-$2-calls" 2)" \
    "$(ratio "$v" "$(median "nginx-$2-calls" 2)")" "$syscall_load" \
    "vantro <= $3: $(verdict "$v" "$3" '<=')"
}

stall_line=$(grep '^load' <<<"$stall" || true)
stall_idle=$(grep '^idle' <<<"$stall" || true)
worst=$(field "$stall_line" stall_worst_ms)
push_worst=$(field "$push" worst_ms)

echo
echo "Serving benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "medians of $rounds rounds of ${secs}s, servers interleaved, every request on a new connection;"
echo "'load' is the 1-minute load average beside the figure (median over our rounds)"
echo
line "measure" "vantro" "nginx" "lighttpd" "ratio" "load" "target"
row "1 KB, 10 clients, requests/s" 1k 2 '>=' 0.9
row "  server CPU per request, us" 1k 4 '<=' 1.0
row "64 KB, 10 clients, requests/s" 64k 2 '>=' 0.9
row "  server CPU per request, us" 64k 4 '<=' 1.0
row "10 MB, 1 client, MB/s" 10m 3 '>=' 0.95
row "  server CPU per response, ms" 10m 4 '<=' 1.0 1000
calls_row "system calls per 1 KB request" 1k 12
calls_row "system calls per 10 MB response" 10m 60
line "push to 10 held polls, worst ms" "$push_worst" "-" "-" "" "$push_load" \
  "< 20: $(verdict "${push_worst:-999}" 20 '<')"
line "  median, ms" "$(field "$push" p50_ms)" "" "" "" "" ""
line "  answers missing after 1 s" "$(field "$push" missed)" "" "" "" "" ""
line "GUI stall, 10 x 100 MiB downloads, ms" "$worst" "-" "-" "" "$stall_load" \
  "< 16: $(verdict "${worst:-999}" 16 '<')"
line "  99th percentile, ms" "$(field "$stall_line" stall_p99_ms)" "" "" "" "" ""
line "  the same second idle, worst ms" "$(field "$stall_idle" stall_worst_ms)" "" "" "" "" ""
line "  GUI-thread CPU in the worst stall, ms" "$(field "$stall_line" worst_cpu_ms)" "" "" "" "" ""
line "  most GUI-thread CPU between ticks, ms" "$(field "$stall_line" busy_worst_ms)" "" "" "" "" ""
line "  download rate in the probe, MB/s" "$(field "$stall_line" mbps)" "" "" "" "" ""
echo
echo "failed requests: vantro $(sum_failed vantro), nginx $(sum_failed nginx), lighttpd $(sum_failed lighttpd)"
echo "took $(($(date +%s) - started)) s"
