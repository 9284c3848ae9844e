# Sourced: two OpenSSH servers of our own, on 127.0.0.2 and 127.0.0.3,
# for GNU parallel's --sshlogin. Everything they use lives in one
# temporary folder: host keys, the user's key, its authorized_keys, the
# servers' and the client's configuration and known hosts. Nothing of the
# system's ssh configuration or keys is read or touched.
#
#   start_hosts DIR   starts them (DIR must exist); sets SSH_CMD (the ssh
#                     command for parallel's --ssh) and HOSTS ("2/127.0.0.2,
#                     2/127.0.0.3": two jobs on each)
#   stop_hosts DIR    stops them by the process ids in their pid files

start_hosts() {
  dir=$1
  sshd=$(command -v sshd || echo /usr/sbin/sshd)
  [ -x "$sshd" ] || { echo "needs sshd (Debian package openssh-server)" >&2; return 1; }
  # A port of our own: one that no one listens on, on either address.
  port=$(python3 -c '
import socket
for port in range(23000 + __import__("os").getpid() % 5000, 65000):
    try:
        for host in ("127.0.0.2", "127.0.0.3"):
            s = socket.socket(); s.bind((host, port)); s.close()
        print(port); break
    except OSError:
        pass')
  ssh-keygen -q -t ed25519 -N '' -f "$dir/host_key"
  ssh-keygen -q -t ed25519 -N '' -f "$dir/user_key"
  cp "$dir/user_key.pub" "$dir/authorized_keys"
  chmod 600 "$dir/authorized_keys"
  user=$(id -un)
  : > "$dir/known_hosts"
  for host in 127.0.0.2 127.0.0.3; do
    cat > "$dir/sshd_$host.conf" <<EOF
ListenAddress $host:$port
HostKey $dir/host_key
PidFile $dir/sshd_$host.pid
AuthorizedKeysFile $dir/authorized_keys
AllowUsers $user
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
MaxStartups 100
MaxSessions 100
EOF
    echo "[$host]:$port $(cat "$dir/host_key.pub")" >> "$dir/known_hosts"
  done
  cat > "$dir/ssh_config" <<EOF
Host 127.0.0.2 127.0.0.3
  Port $port
  User $user
  IdentityFile $dir/user_key
  IdentitiesOnly yes
  UserKnownHostsFile $dir/known_hosts
  GlobalKnownHostsFile /dev/null
  StrictHostKeyChecking yes
  BatchMode yes
  ControlMaster no
EOF
  # Run as root, sshd wants its privilege separation folder (a runtime
  # folder, not configuration).
  if [ "$(id -u)" = 0 ] && [ ! -d /run/sshd ]; then mkdir -p /run/sshd && chmod 755 /run/sshd; fi
  for host in 127.0.0.2 127.0.0.3; do
    "$sshd" -f "$dir/sshd_$host.conf" -E "$dir/sshd_$host.log" || { cat "$dir/sshd_$host.log" >&2; return 1; }
  done
  SSH_CMD="ssh -F $dir/ssh_config"
  HOSTS="2/127.0.0.2,2/127.0.0.3"
  # Both answer before any job is sent.
  for host in 127.0.0.2 127.0.0.3; do
    tries=0
    until $SSH_CMD "$host" true 2>"$dir/ssh.err"; do
      tries=$((tries + 1))
      [ "$tries" -lt 50 ] || { cat "$dir/ssh.err" "$dir/sshd_$host.log" >&2; return 1; }
      sleep 0.1
    done
  done
}

stop_hosts() {
  for pidfile in "$1"/sshd_*.pid; do
    [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
  done
  return 0
}
