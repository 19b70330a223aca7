// The engine's worker: holds the WebAssembly module and the page's files in
// its memory file system, and answers the page's messages one at a time.
//   {cmd: "load", files: [{name, bytes}]}          -> {kind: "loaded"}
//   {cmd: "preview", name, delimiter, items, missing, group, rows} -> {kind: "preview", result}
//   {cmd: "check", args}                           -> {kind: "checked", status}
//   {cmd: "run", args}                             -> {kind: "progress", ...}*, {kind: "done", status, outputs}
// Every line the engine writes on stderr arrives as {kind: "line", text}.
// The page stops a run by ending this worker and starting another.
"use strict";

const folder = "/work";
const outputs = { report: "output.txt", json: "output.json", html: "output.html" };
let engine = null;
const waiting = [];

function handle(message) {
    const m = message.data;
    if (m.cmd === "load") {
        for (const file of m.files) {
            // The page puts a second file of the same name into a folder.
            const slash = file.name.lastIndexOf("/");
            if (slash > 0 && !engine.FS.analyzePath(folder + "/" + file.name.slice(0, slash)).exists) {
                engine.FS.mkdir(folder + "/" + file.name.slice(0, slash));
            }
            engine.FS.writeFile(folder + "/" + file.name, new Uint8Array(file.bytes));
        }
        postMessage({ kind: "loaded" });
    } else if (m.cmd === "preview") {
        const out = "/tmp/preview.json";
        engine.ccall("talver_preview", null, ["string", "string", "string", "string", "string", "number", "string"],
            [m.name, m.delimiter || "", m.items || "", m.missing || "", m.group || "", m.rows || 20, out]);
        const result = JSON.parse(engine.FS.readFile(out, { encoding: "utf8" }));
        postMessage({ kind: "preview", result: result, name: m.name });
    } else if (m.cmd === "check") {
        const status = engine.ccall("talver_check", "number", ["string"], [m.args.join("\n")]);
        postMessage({ kind: "checked", status: status });
    } else if (m.cmd === "run") {
        for (const name of Object.values(outputs)) {
            if (engine.FS.analyzePath(name).exists) {
                engine.FS.unlink(name);
            }
        }
        const args = m.args.concat(["--output", outputs.report, "--json", outputs.json, "--html", outputs.html]);
        const started = performance.now();
        const status = engine.ccall("talver_run", "number", ["string"], [args.join("\n")]);
        const seconds = (performance.now() - started) / 1000;
        const written = {};
        if (status === 0) {
            for (const [key, name] of Object.entries(outputs)) {
                // The module's umask leaves new files without permissions.
                engine.FS.chmod(name, 0o644);
                written[key] = engine.FS.readFile(name, { encoding: "utf8" });
            }
        }
        postMessage({ kind: "done", status: status, outputs: written, seconds: seconds });
    }
}

onmessage = (message) => {
    if (engine) {
        handle(message);
    } else {
        waiting.push(message);
    }
};

createTalverEngine({
    printErr: (text) => postMessage({ kind: "line", text: text }),
    print: (text) => postMessage({ kind: "line", text: text }),
}).then((module) => {
    engine = module;
    engine.FS.mkdir(folder);
    engine.FS.chdir(folder);
    postMessage({ kind: "ready" });
    while (waiting.length > 0) {
        handle(waiting.shift());
    }
});
