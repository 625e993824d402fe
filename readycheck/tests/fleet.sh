#!/usr/bin/env bash
# The fleet check as an administrator runs it: Debian's ansible-playbook and our playbook against
# a private sshd on a loopback port, each host an alias whose own key's line sets its environment,
# each running the build's staged program (or lacking it on its PATH). fleet.csv and fleet.md
# must hold the expected rows (seconds, the port, Ansible's words for an unreachable host and
# llvmpipe's build masked), and nothing may be written on the hosts. Then the local fact must
# read back on every host, and ansible-lint must pass the playbook. Leaves both tables in fleet/
# in the working directory.
# Usage: fleet.sh STAGE_DIR
set -euo pipefail
stage=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
playbooks=$(cd "$here/../ansible" && pwd)
for tool in ansible-playbook ansible-lint ssh-keygen /usr/sbin/sshd /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

tmp=$(mktemp -d)
sshd=
made_privsep_dir=
finish() {
    if [ -n "$sshd" ]; then
        kill "$sshd" && wait "$sshd" || true
    fi
    [ -z "$made_privsep_dir" ] || rmdir /run/sshd
    rm -rf "$tmp"
}
trap finish EXIT

free_port() {
    /usr/bin/python3 -c \
        'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
port=$(free_port)

# Host, the status its row must have, and its own environment (before every host's).
no_shaders="-GL_ARB_shader_objects -GL_ARB_vertex_shader -GL_ARB_fragment_shader"
hosts=(
    "lab-llvmpipe checked"
    "lab-softpipe checked GALLIUM_DRIVER=softpipe"
    "lab-no-shaders checked MESA_EXTENSION_OVERRIDE=$no_shaders"
    "lab-not-installed not_installed PATH=/usr/bin:/bin"
    "lab-no-driver could_not_check __EGL_VENDOR_LIBRARY_FILENAMES=$tmp/no-vendor.json"
    "lab-unreachable unreachable"
    "lab-mesa-warning checked MESA_EXTENSION_OVERRIDE=-GL_ARB_multisample"
    "lab-spoiled bad_output PATH=$tmp/spoiled:/usr/bin:/bin"
    "lab-no-python bad_output"
    "lab-recorded checked PATH=$tmp/recorded:/usr/bin:/bin"
    "lab-odd bad_output PATH=$tmp/odd:/usr/bin:/bin"
)
everywhere="PATH=$stage/bin:/usr/bin:/bin DBUS_SYSTEM_BUS_ADDRESS=unix:path=$tmp/no-system-bus"

# Stand-ins for the program: one that prints what the program printed when a driver's warning
# went to its standard output; one that answers with a recorded machine's facts, other cards and
# a name that CSV must quote and Markdown escape; one whose JSON has another shape.
stand_in() {
    mkdir "$tmp/$1"
    printf '#!/bin/sh\n%s\n' "$2" >"$tmp/$1/ReadyCheck"
    chmod +x "$tmp/$1/ReadyCheck"
}
stand_in spoiled "echo \"Warning: extension 'GL_ARB_multisample' cannot be disabled\"
exec $stage/bin/ReadyCheck \"\$@\""
sed 's/"Mesa Intel(R) UHD 620"/"Mesa Intel(R) UHD 620 \\"KBL\\" | GT2, rev 4"/' \
    "$here/report-texts/partial.json" >"$tmp/recorded.json"
stand_in recorded "cat $tmp/recorded.json"
stand_in odd "echo '{\"schema\": 1, \"other_cards\": \"none\"}'"

mkdir "$tmp/keys"
ssh-keygen -q -t ed25519 -N '' -C host -f "$tmp/host_key"
echo "[127.0.0.1]:$port $(cut -d' ' -f1,2 "$tmp/host_key.pub")" >"$tmp/known_hosts"
echo "[lab]" >"$tmp/hosts.ini"
for line in "${hosts[@]}"; do
    read -r host status environment <<<"$line"
    ssh-keygen -q -t ed25519 -N '' -C "$host" -f "$tmp/keys/$host"
    # One option per assignment, whose value may hold spaces; the first of a name counts.
    options=
    while IFS= read -r assignment; do
        [ -z "$assignment" ] || options+="environment=\"$assignment\","
    done < <(sed -E 's/ ([A-Z_]+=)/\n\1/g' <<<"$environment $everywhere")
    echo "${options%,} $(cat "$tmp/keys/$host.pub")" >>"$tmp/authorized_keys"
    # A host that Ansible cannot log in to, or where it finds no Python, gives no fact; the fact
    # does not read the JSON's shape.
    case $host in
        lab-unreachable) vars=" ansible_port=$(free_port) fleet_fact=False" ;;
        lab-no-python) vars=" ansible_python_interpreter=/nonexistent/python3 fleet_fact=False" ;;
        lab-odd) vars=" fleet_fact_status=checked" ;;
        *) vars= ;;
    esac
    echo "$host fleet_status=$status$vars" >>"$tmp/hosts.ini"
done
cat >>"$tmp/hosts.ini" <<EOF_INVENTORY

[lab:vars]
ansible_host=127.0.0.1
ansible_port=$port
ansible_user=$(id -un)
ansible_ssh_private_key_file=$tmp/keys/{{ inventory_hostname }}
ansible_ssh_args=-F none -o ControlMaster=no -o IdentitiesOnly=yes -o BatchMode=yes -o UserKnownHostsFile=$tmp/known_hosts
ansible_python_interpreter=/usr/bin/python3
ansible_remote_tmp=$tmp/written-on-the-hosts
EOF_INVENTORY

cat >"$tmp/sshd_config" <<EOF_SSHD
ListenAddress 127.0.0.1:$port
HostKey $tmp/host_key
PidFile none
AuthorizedKeysFile $tmp/authorized_keys
PermitUserEnvironment yes
StrictModes no
UsePAM no
PasswordAuthentication no
KbdInteractiveAuthentication no
AllowUsers $(id -un)
MaxStartups 100
LogLevel ERROR
EOF_SSHD
# As root, sshd separates privileges into a directory that its service normally makes.
if [ "$(id -u)" -eq 0 ] && [ ! -d /run/sshd ]; then
    mkdir -m 0755 /run/sshd
    made_privsep_dir=1
fi
/usr/sbin/sshd -D -e -f "$tmp/sshd_config" 2>"$tmp/sshd.log" &
sshd=$!
for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.05
done

# Ansible's configuration and files are the test's own, nothing of the user's.
: >"$tmp/ansible.cfg"
export ANSIBLE_CONFIG=$tmp/ansible.cfg ANSIBLE_HOME=$tmp/ansible-home \
    ANSIBLE_LOCAL_TEMP=$tmp/local-tmp ANSIBLE_REMOTE_TEMP=$tmp/controller-tmp ANSIBLE_NOCOLOR=1
unset SSH_AUTH_SOCK
# Runs a step, its output kept in the log and shown where it fails; says how long it took.
run() {
    local name=$1 start
    shift
    start=$(date +%s%N)
    "$@" >"$tmp/$name.log" 2>&1 || { cat "$tmp/$name.log" "$tmp/sshd.log"; exit 1; }
    echo "$name: $((($(date +%s%N) - start) / 1000000)) ms"
}

mkdir "$tmp/controller"
run "fleet run on ${#hosts[@]} hosts" env -C "$tmp/controller" \
    ansible-playbook -i "$tmp/hosts.ini" "$playbooks/readycheck-fleet.yml" -f 25
mkdir -p fleet
cp "$tmp/controller/readycheck-fleet/"fleet.{csv,md} fleet/
if [ -e "$tmp/written-on-the-hosts" ]; then
    echo "Ansible wrote on the hosts:" >&2
    find "$tmp/written-on-the-hosts" >&2
    exit 1
fi
# Why llvmpipe draws with nothing forcing it is the machine's own: the expected rows are this
# kind of machine's, with no graphics device.
if compgen -G '/sys/class/drm/card*' >/dev/null; then
    unforced='s/^(.lab-llvmpipe([^,|]*[,|]){8}[ "]*)no_graphics_device/\1THE MACHINE'"'"'S OWN/'
else
    unforced=''
fi
mask() {
    sed -E -e 's/"[0-9]+\.[0-9]"/"S"/; s/\| [0-9]+\.[0-9] \|/| S |/' \
        -e 's/(Data could not be sent to remote host|Failed to connect to the host via ssh)[^|]*/ANSIBLE SAYS WHY/' \
        -e 's/(the exact error: ).*(\/bin\/sh: 1: \/nonexistent\/python3: not found)/\1\2/' \
        -e 's/llvmpipe \(LLVM [0-9.]+, [0-9]+ bits\)/llvmpipe (LLVM, BITS)/g' -e "$unforced" "$1"
}
status=0
for table in fleet.csv fleet.md; do
    if ! diff -u <(mask "$here/fleet/$table") <(mask "fleet/$table"); then
        echo "$table: not the expected rows (-: expected, +: made)" >&2
        status=1
    fi
done

run "local fact" ansible-playbook -i "$tmp/hosts.ini" "$here/fleet/local-fact.yml" -f 25 \
    -e "readycheck_fact_path=$playbooks"
(cd "$playbooks" && run ansible-lint env HOME="$tmp/lint-home" XDG_CACHE_HOME="$tmp/lint-cache" \
    ansible-lint --offline --nocolor readycheck-fleet.yml)
exit $status
