#!/usr/bin/perl
# Reads a trace of `strace -f -ttt -e trace=%file,%process` and prints every place where the
# traced program went where it should not; exits 1 when there is one.
# Arguments: TRACE MARK CD CONFIG HOME RUNTIME CWD WINEPREFIX
#   MARK: the time after which one action may start processes; CONFIG: $XDG_CONFIG_HOME.
use strict;
use warnings;

my ($trace, $mark, $cd, $config, $home, $runtime, $cwd, $wine) = @ARGV;
die "usage: strace_check.pl TRACE MARK CD CONFIG HOME RUNTIME CWD WINEPREFIX\n" unless defined $wine;

sub canon {
    my $p = shift;
    $p =~ s{/+}{/}g;
    $p =~ s{/\.(?=/|$)}{}g;
    1 while $p =~ s{/(?!\.\.(?:/|$))[^/]+/\.\.(?=/|$)}{};
    $p =~ s{^/\.\.(?=/|$)}{}g;
    $p =~ s{(.)/$}{$1};
    return $p eq '' ? '/' : $p;
}

my $settings = "$config/katalog";
my @system = map { "/$_" } qw(usr etc lib lib32 lib64 libx32 bin sbin proc sys dev run
                                var/cache/fontconfig var/lib/dbus);
# What the toolkit reads of the user's own: its configuration, caches, fonts, cursors and
# X resources.
my @toolkit = ("$config/QtProject", "$config/QtProject.conf", "$config/Trolltech.conf",
               "$config/fontconfig", "$config/mimeapps.list", "$home/.cache", "$home/.local/share",
               "$home/.fonts", "$home/.fonts.conf", "$home/.fonts.conf.d", "$home/.fontconfig",
               "$home/.icons", "$home/.Xdefaults", "$home/.Xresources", "$home/.Xauthority");
# (and "$home/.Xdefaults-<host>")
my @read_roots = map { canon($_) } ($cd, $settings, $wine, $runtime, @system, @toolkit);
my @write_roots = map { canon($_) } ($settings, "$home/.cache", $runtime, "/dev");
# Folders of the PATH may be looked into (a program looked for by name), not read.
my @path_dirs = map { canon($_) } grep { m{^/} } split /:/, ($ENV{PATH} // '');

my %ancestor;
for my $r (@read_roots, @write_roots) {
    my $a = $r;
    while ($a =~ s{/[^/]+$}{}) { $ancestor{$a eq '' ? '/' : $a} = 1; }
}
$ancestor{'/'} = 1;

sub under {
    my ($p, @roots) = @_;
    for my $r (@roots) {
        return 1 if $p eq $r || index($p, $r eq '/' ? '/' : "$r/") == 0;
    }
    return 0;
}

sub unescape {
    my $s = shift;
    $s =~ s/\\([0-7]{1,3}|.)/
        my $e = $1;
        $e =~ m{^[0-7]+$} ? chr(oct($e)) : $e eq 'n' ? "\n" : $e eq 't' ? "\t" : $e/ge;
    return $s;
}

my $writes = qr/^(?:mkdir|mkdirat|rename|renameat|renameat2|unlink|unlinkat|rmdir|symlink|symlinkat|link|linkat|chmod|fchmodat|chown|fchownat|lchown|truncate|creat|mknod|mknodat|utime|utimes|utimensat|futimesat|setxattr|lsetxattr|removexattr|lremovexattr)$/;
my $metadata = qr/^(?:stat|lstat|newfstatat|fstatat64|statx|access|faccessat|faccessat2|readlink|readlinkat|statfs|getxattr|lgetxattr|listxattr|llistxattr)$/;

open my $in, '<', $trace or die "cannot read $trace: $!\n";
my @lines = <$in>;
close $in;

# First the processes: which ids are threads of the program and which are processes it
# started, with the first process of each started tree.
my (%kind, %pending, %parent);
my $main;
for (@lines) {
    next unless /^(\d+) [\d.]+ (.*)$/;
    my ($pid, $rest) = ($1, $2);
    $main //= $pid;
    if ($rest =~ /^(clone3?|vfork|fork)\((.*)$/) {
        my ($call, $args) = ($1, $2);
        my $k = $args =~ /CLONE_THREAD/ ? 'thread' : 'process';
        if ($rest =~ /= (\d+)\s*$/) { $kind{$1} = $k; $parent{$1} = $pid; }
        else { $pending{$pid} = $k; }
    } elsif ($rest =~ /^<\.\.\. (?:clone3?|vfork|fork) resumed>.*= (\d+)\s*$/ && $pending{$pid}) {
        $kind{$1} = delete $pending{$pid};
        $parent{$1} = $pid;
    }
}
my %started;   # pid -> the first process of its tree
sub owner {
    my $pid = shift;
    my @chain;
    while (defined $pid && $pid ne $main) {
        return undef unless defined $kind{$pid};
        push @chain, $pid;
        $pid = $parent{$pid};
    }
    for my $p (reverse @chain) { return $p if $kind{$p} eq 'process' }
    return undef;
}

my @bad;
my %tree_exec;
for (@lines) {
    next unless /^(\d+) ([\d.]+) (.*)$/;
    my ($pid, $time, $rest) = ($1, $2, $3);
    next if $rest =~ /^(?:<\.\.\.|\+\+\+|---)/;
    next unless $rest =~ /^(\w+)\((.*)$/;
    my ($call, $args) = ($1, $2);
    my $tree = $pid eq $main ? undef : owner($pid);

    if ($call =~ /^(?:clone3?|vfork|fork)$/) {
        next if $args =~ /CLONE_THREAD/ || defined $tree;
        push @bad, "a process was started before any action asked for one: $rest" if $time < $mark;
        next;
    }
    if (defined $tree) {
        # A started process is judged by what it is, not by what it does.
        if ($call eq 'execve' && !$tree_exec{$tree}++) {
            push @bad, "a started process was not given a document of the CD: $rest" unless index($args, "$cd/") >= 0;
        }
        next;
    }
    next if $call eq 'getcwd';   # its string is what it answers
    if ($call eq 'execve') {
        next if $pid eq $main && !$tree_exec{main}++;   # the program itself
        push @bad, "the program replaced itself: $rest";
        next;
    }

    my @paths = map { unescape($_) } ($args =~ /"((?:[^"\\]|\\.)*)"/g);
    next unless @paths;
    my $dirfd = $args =~ /^(AT_FDCWD|-?\d+),/ ? $1 : 'AT_FDCWD';
    my @named = $call =~ /^(?:rename|renameat|renameat2|link|linkat)$/ ? @paths[0, 1]
              : $call =~ /^symlink/ ? ($paths[-1])
              : ($paths[0]);
    my $write = $call =~ $writes || ($call =~ /^open/ && $args =~ /O_WRONLY|O_RDWR|O_CREAT|O_TRUNC/);
    for my $p (@named) {
        next if !defined $p || $p eq '';
        if ($p !~ m{^/}) {
            next if $dirfd ne 'AT_FDCWD';   # relative to an open folder: judged where it was opened
            $p = "$cwd/$p";
        }
        $p = canon($p);
        if ($write) {
            push @bad, "wrote outside its places: $call $p" unless under($p, @write_roots);
        } elsif (!under($p, @read_roots) && index($p, "$home/.Xdefaults-") != 0) {
            next if $call =~ $metadata && ($ancestor{$p} || under($p, @path_dirs));
            push @bad, "read outside its places: $call $p";
        }
    }
}

my %seen;
print "$_\n" for grep { !$seen{$_}++ } @bad;
exit(@bad ? 1 : 0);
