// The page: the researcher's choices, the engine's worker, the results.
// Every rule about data and options lives in the engine (the same as
// talver-batch's); the page only gathers the choices as a command line,
// shows what the engine says and marks the field it names.
"use strict";

const $ = (id) => document.getElementById(id);

let worker = null;
let workerReady = false;
let warmer = null;
const files = {};          // name -> ArrayBuffer, kept to restart the worker after Stop
let chosen = { one: null, target: null, replication: null };
let preview = null;
let lastClicked = null;
let running = false;
let downloads = [];

function mode() { return document.querySelector("input[name=mode]:checked").value; }

function say(text) {
    const box = $("messages");
    box.textContent += text + "\n";
    box.scrollTop = box.scrollHeight;
}

// The engine, compiled once as the page opens: each worker instantiates this
// module, so a worker started after Stop is ready at once, and code that the
// browser has optimised in one worker serves them all.
const engineModule = WebAssembly.compile(Uint8Array.from(atob(TALVER_ENGINE_BINARY), (c) => c.charCodeAt(0)));
engineModule.catch((failure) => {
    say("This browser cannot run the engine (" + failure.message + "). Use a current version of the browser, " +
        "or talver-batch.");
    $("engine-state").textContent = "";
});

function engineWorker() {
    const url = URL.createObjectURL(new Blob([TALVER_WORKER_SOURCE], { type: "text/javascript" }));
    const started = new Worker(url);
    URL.revokeObjectURL(url);
    engineModule.then((module) => started.postMessage({ cmd: "start", module: module }), () => {});
    return started;
}

function startWorker() {
    workerReady = false;
    worker = engineWorker();
    worker.onmessage = (event) => onWorkerMessage(event.data);
    worker.onerror = (event) => {
        say("The engine failed: " + event.message);
        running = false;
        updateButtons();
    };
    const loaded = Object.entries(files).map(([name, bytes]) => ({ name: name, bytes: bytes.slice(0) }));
    if (loaded.length > 0) {
        worker.postMessage({ cmd: "load", files: loaded });
    }
}

function onWorkerMessage(m) {
    switch (m.kind) {
    case "ready":
        workerReady = true;
        $("engine-state").textContent = "Engine ready.";
        updateButtons();
        break;
    case "line": say(m.text); break;
    case "focus": $(m.text).classList.add("wrong"); $(m.text).focus(); break;
    case "preview": showPreview(m.result); break;
    case "progress": showProgress(m); break;
    case "checked":
        say(m.status === 0 ? "The data and the options are fine: Compute when ready." : "");
        $("engine-state").textContent = "";
        break;
    case "done": finishRun(m); break;
    }
}

function updateButtons() {
    const haveData = mode() === "one" ? chosen.one !== null : chosen.target !== null && chosen.replication !== null;
    $("check").disabled = running || !workerReady || !haveData;
    $("compute").disabled = running || !workerReady || !haveData;
    $("stop").disabled = !running;
}

// --- Data ---------------------------------------------------------------

function addFiles(list, role) {
    const file = list[0];
    if (!file) { return; }
    file.arrayBuffer().then((bytes) => {
        let name = file.name.replace(/[\/\\\n]/g, "_");
        // Two samples' files of one name (from two folders) must not replace
        // each other: the later one goes into a folder named for its role.
        const other = { target: chosen.replication, replication: chosen.target }[role];
        if (other !== undefined && other !== null && other.replace(/^[a-z]+\//, "") === name) {
            name = role + "/" + name;
        }
        files[name] = bytes;
        chosen[role] = name;
        worker.postMessage({ cmd: "load", files: [{ name: name, bytes: bytes.slice(0) }] });
        const shown = mode() === "one" ? [chosen.one] : [chosen.target, chosen.replication];
        $("file-names").textContent = shown.filter((n) => n).map((n) => n + " (" + files[n].byteLength + " bytes)").join(", ");
        if (role !== "replication" && mode() !== "plain") { requestPreview(); }
        updateButtons();
    });
}

function previewFile() { return mode() === "one" ? chosen.one : chosen.target; }

function requestPreview() {
    const name = previewFile();
    if (!name || mode() === "plain") { return; }
    worker.postMessage({ cmd: "preview", name: name, delimiter: $("delimiter").value, items: $("items").value.trim(),
        missing: $("missing").value.trim(), group: mode() === "one" ? $("group").value : "" });
}

function cellText(text) { return text === "" ? "·" : text; }

function showPreview(result) {
    const table = $("preview");
    table.textContent = "";
    $("items-note").textContent = "";
    preview = result.ok ? result : null;
    if (!result.ok) {
        $("preview-note").textContent = result.message;
        return;
    }
    $("preview-note").textContent = result.rowCount + " rows; the first " + result.rows.length +
        " are shown. Click a column's name to choose it as an item; shift-click chooses every column up to it.";
    const head = table.insertRow();
    result.columns.forEach((name, index) => {
        const th = document.createElement("th");
        th.textContent = name;
        th.dataset.column = index;
        th.addEventListener("click", (event) => clickColumn(index, event.shiftKey));
        head.appendChild(th);
    });
    for (const row of result.rows) {
        const tr = table.insertRow();
        row.forEach((text) => { tr.insertCell().textContent = cellText(text); });
    }
    if (result.itemsMessage) { $("items-note").textContent = result.itemsMessage; }
    fillGroupChoices(result);
    showMissingSuggestions(result);
    markColumns(result.itemColumns || []);
}

function markColumns(itemColumns) {
    const items = new Set(itemColumns);
    const group = $("group").value;
    const head = $("preview").rows[0];
    if (!head) { return; }
    Array.from(head.cells).forEach((th, index) => {
        th.classList.toggle("item", items.has(index));
        th.classList.toggle("group", mode() === "one" && th.textContent === group && group !== "");
    });
    for (const tr of Array.from($("preview").rows).slice(1)) {
        Array.from(tr.cells).forEach((td, index) => td.classList.toggle("item", items.has(index)));
    }
}

function chosenColumns() {
    const head = $("preview").rows[0];
    return head ? Array.from(head.cells).filter((th) => th.classList.contains("item")).map((th) => Number(th.dataset.column)) : [];
}

// The chosen columns as the engine's item list: runs of neighbours as ranges.
function itemListOf(columns) {
    const names = preview.columns;
    const plain = (name) => !/[-,]/.test(name);
    const parts = [];
    for (let i = 0; i < columns.length; ) {
        let j = i;
        while (j + 1 < columns.length && columns[j + 1] === columns[j] + 1 && plain(names[columns[j + 1]])) { ++j; }
        if (j - i >= 2 && plain(names[columns[i]])) {
            parts.push(names[columns[i]] + "-" + names[columns[j]]);
        } else {
            for (let k = i; k <= j; ++k) { parts.push(names[columns[k]]); }
        }
        i = j + 1;
    }
    return parts.join(",");
}

function clickColumn(index, shift) {
    if (!preview) { return; }
    let columns = chosenColumns();
    if (shift && lastClicked !== null) {
        const [from, to] = lastClicked < index ? [lastClicked, index] : [index, lastClicked];
        for (let c = from; c <= to; ++c) { if (!columns.includes(c)) { columns.push(c); } }
    } else if (columns.includes(index)) {
        columns = columns.filter((c) => c !== index);
    } else {
        columns.push(index);
    }
    lastClicked = index;
    columns.sort((a, b) => a - b);
    $("items").value = itemListOf(columns);
    markColumns(columns);
    requestPreview();
}

function fillGroupChoices(result) {
    const group = $("group");
    const before = group.value;
    group.textContent = "";
    group.add(new Option("(choose)", ""));
    for (const name of result.columns) { group.add(new Option(name, name)); }
    if (result.columns.includes(before)) { group.value = before; }
    fillGroupValues();
}

function fillGroupValues() {
    const column = preview ? preview.columns.indexOf($("group").value) : -1;
    const values = preview && preview.groupValues && preview.groupColumn === $("group").value ? preview.groupValues : null;
    for (const [id, pick] of [["target-group", 0], ["replication-group", 1]]) {
        const select = $(id);
        const before = select.value;
        select.textContent = "";
        if (column < 0) { continue; }
        const list = values || [];
        for (const v of list) { select.add(new Option(v.value + " (" + v.count + " rows)", v.value)); }
        if (list.some((v) => v.value === before)) { select.value = before; } else if (list[pick]) { select.value = list[pick].value; }
    }
}

function showMissingSuggestions(result) {
    const box = $("missing-suggestions");
    box.textContent = "";
    for (const suggestion of result.missingSuggestions || []) {
        const button = document.createElement("button");
        button.type = "button";
        button.className = "suggestion";
        button.textContent = "add " + suggestion.code;
        button.title = suggestion.reason;
        button.addEventListener("click", () => {
            const codes = $("missing").value.split(",").map((c) => c.trim()).filter((c) => c);
            if (!codes.includes(suggestion.code)) { codes.push(suggestion.code); }
            $("missing").value = codes.join(",");
            requestPreview();
        });
        box.appendChild(button);
    }
}

// --- Options and runs ------------------------------------------------------

function commandLine() {
    const args = [];
    const add = (option, value) => { args.push(option, value); };
    if (mode() === "one") {
        add("--data", chosen.one);
        add("--group", $("group").value);
        add("--target-group", $("target-group").value);
        add("--replication-group", $("replication-group").value);
    } else {
        add("--target", chosen.target);
        add("--replication", chosen.replication);
    }
    if (mode() === "plain") {
        add("--target-count", $("target-count").value.trim());
        add("--replication-count", $("replication-count").value.trim());
        add("--items", $("item-count").value.trim());
    } else {
        add("--items", $("items").value.trim());
        if ($("missing").value.trim() !== "") { add("--missing", $("missing").value.trim()); }
        if ($("delimiter").value !== "") { add("--delimiter", $("delimiter").value); }
    }
    add("--factors", $("factors").value.trim());
    add("--method", $("method").value);
    add("--dispersion", $("dispersion").value);
    add("--samples", $("samples").value.trim());
    add("--alpha", $("alpha").value);
    if ($("lowest").value.trim() !== "") { add("--lowest", $("lowest").value.trim()); }
    if ($("highest").value.trim() !== "") { add("--highest", $("highest").value.trim()); }
    for (const section of ["difficulties", "difficulty-fit", "discriminations", "residual-variances", "congruence", "discrepancy"]) {
        if (!$("show-" + section).checked) { args.push("--no-" + section); }
    }
    // Empty values stay out, so that the engine names what is missing.
    const kept = [];
    for (let i = 0; i < args.length; ++i) {
        if (args[i].startsWith("--no-")) { kept.push(args[i]); continue; }
        if (args[i + 1] !== "" && args[i + 1] !== null && args[i + 1] !== undefined) { kept.push(args[i], args[i + 1]); }
        ++i;
    }
    return kept;
}

function clearMarks() {
    document.querySelectorAll(".wrong").forEach((element) => element.classList.remove("wrong"));
    $("messages").textContent = "";
}

function check() {
    clearMarks();
    $("engine-state").textContent = "Checking…";
    worker.postMessage({ cmd: "check", args: commandLine() });
}

// A worker apart runs a small job on made-up scores while the researcher
// chooses the data, so that the first run finds the engine's busy functions
// already optimised (see worker.js). It shows nothing, and a run that starts
// before it ends stops it, so that both never share the processor.
function startWarmUp() {
    warmer = engineWorker();
    warmer.onmessage = (event) => {
        if (event.data.kind !== "warmed") { return; }
        // A job the engine refuses warms nothing: a fault of the page's, for its console.
        if (event.data.statuses.some((status) => status !== 0)) {
            console.error("A warm-up job ended with status " + event.data.statuses.join(", ") + ".");
        }
        stopWarmUp();
    };
    warmer.postMessage({ cmd: "warm-up" });
}

function stopWarmUp() {
    if (warmer) {
        warmer.terminate();
        warmer = null;
    }
}

function compute() {
    stopWarmUp();
    clearMarks();
    $("engine-state").textContent = "";
    running = true;
    updateButtons();
    $("results-section").hidden = true;
    $("counter").value = 0;
    worker.postMessage({ cmd: "run", args: commandLine() });
}

function stop() {
    worker.terminate();
    running = false;
    showProgress({ status: "  READY", section: "", step: "", progress: "", done: 0, total: 0, timing: "" });
    say("The computation was stopped; no report was made.");
    $("engine-state").textContent = "Restarting the engine…";
    startWorker();
    updateButtons();
}

function showProgress(m) {
    $("status").textContent = m.status;
    $("section").textContent = m.section;
    $("step").textContent = m.step;
    $("progress-text").textContent = m.progress;
    $("counter").max = m.total > 0 ? m.total : 1;
    $("counter").value = m.total > 0 ? m.done : 0;
    $("timing").textContent = m.total > 0 ? m.timing : "";
}

function stem() {
    const name = mode() === "one" ? chosen.one : chosen.target;
    return (name || "talver").replace(/\.[^.]*$/, "") + "-talver";
}

function finishRun(m) {
    running = false;
    updateButtons();
    if (m.status !== 0) { return; }
    showReport(m.outputs.html);
    $("run-time").textContent = "(computed in " + m.seconds.toFixed(2) + " s)";
    $("downloads").style.visibility = "hidden";
    $("results-section").hidden = false;
    // The report first: the downloads are made ready after it is drawn.
    requestAnimationFrame(() => setTimeout(() => offerDownloads(m.outputs)));
}

// The report is written into a new frame's document, with no navigation: the
// browser parses it at once, in this process, instead of first sending a
// navigation of the frame through its other processes, which a busy computer
// leaves waiting. The frame's address is then the page's, against which the
// contents' links to their sections by fragment resolve: they move within
// the frame. A new frame for each report, as a frame that has moved so once
// takes a second writing for a navigation to the page itself.
function showReport(html) {
    const before = $("report-frame");
    const frame = before.cloneNode(false);
    before.replaceWith(frame);
    const shown = frame.contentDocument;
    shown.open();
    shown.write(html);
    shown.close();
}

function offerDownloads(outputs) {
    downloads.forEach((url) => URL.revokeObjectURL(url));
    downloads = [];
    const link = (id, text, type, extension) => {
        const url = URL.createObjectURL(new Blob([text], { type: type }));
        downloads.push(url);
        $(id).href = url;
        $(id).download = stem() + extension;
    };
    link("download-text", outputs.report, "text/plain;charset=utf-8", ".txt");
    link("download-json", outputs.json, "application/json", ".json");
    link("download-html", outputs.html, "text/html;charset=utf-8", ".html");
    $("downloads").style.visibility = "";
}

// --- Wiring ----------------------------------------------------------------

function setMode() {
    document.body.className = "mode-" + mode();
    updateButtons();
    requestPreview();
}

document.querySelectorAll("input[name=mode]").forEach((radio) => radio.addEventListener("change", setMode));
$("file-one").addEventListener("change", (event) => addFiles(event.target.files, "one"));
$("file-target").addEventListener("change", (event) => addFiles(event.target.files, "target"));
$("file-replication").addEventListener("change", (event) => addFiles(event.target.files, "replication"));
$("delimiter").addEventListener("change", requestPreview);
$("items").addEventListener("change", requestPreview);
$("missing").addEventListener("change", requestPreview);
$("group").addEventListener("change", () => { requestPreview(); });
$("check").addEventListener("click", check);
$("compute").addEventListener("click", compute);
$("stop").addEventListener("click", stop);
const drop = $("drop");
drop.addEventListener("dragover", (event) => { event.preventDefault(); drop.classList.add("over"); });
drop.addEventListener("dragleave", () => drop.classList.remove("over"));
drop.addEventListener("drop", (event) => {
    event.preventDefault();
    drop.classList.remove("over");
    const dropped = Array.from(event.dataTransfer.files);
    if (mode() === "one") {
        addFiles(dropped, "one");
    } else {
        addFiles(dropped.slice(0, 1), "target");
        if (dropped.length > 1) { addFiles(dropped.slice(1, 2), "replication"); }
    }
});
setMode();
startWorker();
startWarmUp();
