# SPDX-License-Identifier: MIT
# The Debian archive a fresh tree is made from: the one this machine's apt takes its Debian
# packages from (a local mirror or a caching proxy included), unless DEBIAN_MIRROR and
# DEBIAN_SECURITY_MIRROR name others. apt's own proxy setting is handed on to debootstrap and
# to apt in the tree. Sourced by check-clean-debian.sh and ci-in-clean-debian.sh.
#
#   debian_archive   sets mirror and security (empty when this machine has no security archive)
#   archive_sources RELEASE   prints the sources.list of a tree of that release
#   archive_proxy ROOT        gives apt in the tree the proxy debootstrap used

debian_archive() {
    # apt knows an archive as Debian's by the Release file it fetched (apt-get update), whatever
    # host or path it is reached by; Debian's security archive calls itself Debian-Security.
    local targets
    targets=$(apt-get indextargets --format '$(LABEL) $(REPO_URI)' 'Created-By: Packages' \
        'Origin: Debian' 2>/dev/null || true)
    mirror="${DEBIAN_MIRROR:-$(awk '$1 == "Debian" { print $2; exit }' <<<"$targets")}"
    security="${DEBIAN_SECURITY_MIRROR:-$(awk '$1 == "Debian-Security" { print $2; exit }' <<<"$targets")}"
    if [ -z "$mirror" ]; then
        echo "no Debian archive found in this machine's apt sources (has apt-get update run?);" \
            "name one with DEBIAN_MIRROR=http://HOST/debian" >&2
        return 1
    fi
    mirror="${mirror%/}"
    security="${security%/}"
    local proxy=""
    eval "$(apt-config shell proxy Acquire::http::Proxy)"
    if [ -n "$proxy" ] && [ -z "${http_proxy:-}" ]; then
        export http_proxy="$proxy"
    fi
    echo "Debian archive: $mirror${security:+, security updates: $security}${http_proxy:+, through $http_proxy}"
}

archive_sources() {
    echo "deb $mirror $1 main"
    echo "deb $mirror $1-updates main"
    if [ -n "$security" ]; then
        echo "deb $security $1-security main"
    fi
}

archive_proxy() {
    if [ -n "${http_proxy:-}" ]; then
        echo "Acquire::http::Proxy \"$http_proxy\";" >"$1/etc/apt/apt.conf.d/01proxy"
    fi
}
