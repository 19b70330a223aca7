// The engine's worker: holds an instance of the WebAssembly module and the
// page's files in its memory file system, and answers the page's messages
// one at a time.
//   {cmd: "start", module}                         -> {kind: "ready"}
//   {cmd: "load", files: [{name, bytes}]}          -> {kind: "loaded"}
//   {cmd: "preview", name, delimiter, items, missing, group, rows} -> {kind: "preview", result}
//   {cmd: "check", args}                           -> {kind: "checked", status}
//   {cmd: "run", args}                             -> {kind: "progress", ...}*, {kind: "done", status, outputs}
//   {cmd: "warm-up"}                               -> {kind: "warmed", statuses}
// Every line the engine writes on stderr arrives as {kind: "line", text}.
// The page stops a run by ending this worker and starting another. The
// module comes compiled from the page, so that all its workers share the
// browser's compiled code.
"use strict";

const folder = "/work";
const outputs = { report: "output.txt", json: "output.json", html: "output.html" };
let engine = null;
const waiting = [];

// Each run writes its files anew: the module's umask leaves a file it
// created read-only, so writing over it would be refused.
function removeFiles(names) {
    for (const name of names) {
        if (engine.FS.analyzePath(name).exists) {
            engine.FS.unlink(name);
        }
    }
}

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
        removeFiles(Object.values(outputs));
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
    } else if (m.cmd === "warm-up") {
        postMessage({ kind: "warmed", statuses: warmUp() });
    }
}

// The browser runs new WebAssembly first as a quick compiler made it, and
// compiles a function again, optimised, in the background once it has run
// long enough; a function already running keeps its quick code until it
// returns. The page has a worker of its own run jobs on made-up scores while
// the researcher chooses the data: the optimised code belongs to the module
// that every worker shares, so the researcher's first run starts with it.
// The scores look like a questionnaire's (a thousand rows, five-point items
// of two factors, a few missing codes, text group values), so that the
// functions that loop over rows and cells run as long as in a real job and
// are optimised here, not during the researcher's run; the fewest bootstrap
// samples the options allow already make each replicate's functions busy,
// and end the default job sooner for a researcher who computes at once. The
// jobs come in the order of their likelihood, the default options first; the
// page stops this worker when the researcher computes. Its files stay in
// this worker.
const warmUpRows = 1000;
// Each job's options as the page gives them, all of them, so that their
// checks run here too.
const warmUpJobs = [["uls", "covariance"], ["uls", "polychoric"], ["ml", "covariance"], ["pca", "covariance"]]
    .map(([method, dispersion]) => ["--factors", "2", "--method", method, "--dispersion", dispersion, "--samples", "500",
        "--alpha", "0.05"]);

function warmUpScores() {
    let state = 20261210;
    const uniform = () => { state = (Math.imul(state, 1103515245) + 12345) >>> 0; return state / 4294967296; };
    const rows = ["id,age,group,i1,i2,i3,i4,i5,i6,i7,i8,i9,i10"];
    for (let r = 0; r < warmUpRows; ++r) {
        const factors = [uniform() + uniform() - 1, uniform() + uniform() - 1];
        const row = [r + 1, 18 + Math.floor(50 * uniform()), r % 3 === 0 ? "second" : "first"];
        for (let i = 0; i < 10; ++i) {
            const score = 3.4 + 2 * factors[i % 2] + uniform() - 0.5;
            row.push(uniform() < 0.003 ? -9 : Math.min(5, Math.max(1, Math.round(score))));
        }
        rows.push(row.join(","));
    }
    return rows.join("\n") + "\n";
}

// The engine's status of each job, 0 for a report.
function warmUp() {
    // Relative names, as the researcher's files have, which the engine
    // resolves against the working folder.
    const files = { "--output": "report.txt", "--json": "report.json", "--html": "report.html" };
    engine.FS.mkdir("/warm-up");
    engine.FS.chdir("/warm-up");
    engine.FS.writeFile("scores.csv", warmUpScores());
    return warmUpJobs.map((options) => {
        removeFiles(Object.values(files));
        return engine.ccall("talver_run", "number", ["string"], [["--data", "scores.csv", "--group", "group",
            "--target-group", "first", "--replication-group", "second", "--items", "i1-i10", "--missing", "-9"]
            .concat(options, Object.entries(files).flat()).join("\n")]);
    });
}

function start(compiled) {
    createTalverEngine({
        printErr: (text) => postMessage({ kind: "line", text: text }),
        print: (text) => postMessage({ kind: "line", text: text }),
        instantiateWasm: (imports, receive) => {
            WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled));
            return {};
        },
    }).then((module) => {
        engine = module;
        engine.FS.mkdir(folder);
        engine.FS.chdir(folder);
        postMessage({ kind: "ready" });
        while (waiting.length > 0) {
            handle(waiting.shift());
        }
    });
}

onmessage = (message) => {
    if (message.data.cmd === "start") {
        start(message.data.module);
    } else if (engine) {
        handle(message);
    } else {
        waiting.push(message);
    }
};
