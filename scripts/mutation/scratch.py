"""The scratch copy of the working tree in build-mutants/, its incremental build and its tests."""
import json
import os
import shutil
import stat
import subprocess
import time
import xml.etree.ElementTree as ElementTree


def tracked_and_new(repo):
    """The files of the working tree as git sees them: tracked, and new but not ignored."""
    out = subprocess.run(
        ["git", "-C", repo, "ls-files", "-co", "--exclude-standard", "-z"], capture_output=True, check=True
    ).stdout
    return sorted({p for p in out.decode().split("\0") if p and os.path.isfile(os.path.join(repo, p))})


def write_file(path, content):
    """Writes content, stamped now: a build never takes an older object for the new text."""
    with open(path, "wb") as f:
        f.write(content)
    now = time.time_ns()
    os.utime(path, ns=(now, now))


class Scratch:
    def __init__(self, repo, work):
        self.repo = repo
        self.work = work
        self.tree = os.path.join(work, "tree")
        self.build_dir = os.path.join(work, "build")
        self.logs = os.path.join(work, "logs")

    # --- the copy ---------------------------------------------------------------------------------

    def sync(self):
        """Brings the copy to the working tree; files whose text is the same keep their stamp."""
        files = tracked_and_new(self.repo)
        for relative in files:
            self.copy_if_changed(relative)
        keep = set(files)
        for folder, _, names in os.walk(self.tree):
            for name in names:
                path = os.path.join(folder, name)
                if os.path.relpath(path, self.tree) not in keep:
                    os.remove(path)
        return files

    def copy_if_changed(self, relative):
        source, target = os.path.join(self.repo, relative), os.path.join(self.tree, relative)
        with open(source, "rb") as f:
            content = f.read()
        if self.read(relative) != content:
            os.makedirs(os.path.dirname(target), exist_ok=True)
            write_file(target, content)
        mode = stat.S_IMODE(os.stat(source).st_mode)
        if stat.S_IMODE(os.stat(target).st_mode) != mode:
            os.chmod(target, mode)

    def read(self, relative):
        try:
            with open(os.path.join(self.tree, relative), "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def write(self, relative, content):
        write_file(os.path.join(self.tree, relative), content)

    # --- the build --------------------------------------------------------------------------------

    def run(self, command, log):
        with open(log, "ab") as out:
            out.write(("$ " + " ".join(command) + "\n").encode())
            out.flush()
            return subprocess.run(command, stdout=out, stderr=subprocess.STDOUT).returncode == 0

    def configure(self, log):
        command = ["cmake", "-S", self.tree, "-B", self.build_dir, "-G", "Ninja",
                   "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"]
        if shutil.which("ccache"):
            # A file put back after a mutant then comes from the cache instead of being compiled again.
            command.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
        return self.run(command, log)

    def build(self, log, target=None, jobs=None):
        command = ["cmake", "--build", self.build_dir]
        if target:
            command += ["--target", target]
        if jobs:
            command += ["-j", str(jobs)]
        return self.run(command, log)

    def object_of(self, relative):
        """The object file the build makes of a source, as a target of its own (None for a header)."""
        source = os.path.realpath(os.path.join(self.tree, relative))
        with open(os.path.join(self.build_dir, "compile_commands.json")) as f:
            for entry in json.load(f):
                if os.path.realpath(entry["file"]) == source and "output" in entry:
                    return entry["output"]
        return None

    def targets(self):
        out = subprocess.run(["ninja", "-C", self.build_dir, "-t", "targets", "all"], capture_output=True,
                             text=True, check=True).stdout
        return {line.split(":")[0] for line in out.splitlines()}

    # --- the tests --------------------------------------------------------------------------------

    def baseline(self, log, jobs):
        """Runs the whole suite once; returns {test: seconds} when every test passes, else None."""
        report = os.path.join(self.work, "baseline.xml")
        passed = self.run(["ctest", "--test-dir", self.build_dir, "-j", str(jobs), "--output-on-failure",
                           "--output-junit", report], log)
        if not passed:
            return None
        cases = ElementTree.parse(report).getroot().iter("testcase")
        return {case.get("name"): float(case.get("time") or 0) for case in cases}

    def test(self, name, timeout, log):
        return self.run(["ctest", "--test-dir", self.build_dir, "-R", f"^{name}$", "--timeout", str(timeout),
                         "--output-on-failure"], log)

    def clear_logs(self):
        shutil.rmtree(self.logs, ignore_errors=True)
        os.makedirs(self.logs)
