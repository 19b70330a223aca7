// The page's outputs against talver-batch's: the text report line by line
// apart from the clock and the names of files, JSON numbers within a
// relative tolerance (the browser's exp and log may round a last bit
// differently), everything else in the JSON equal.
"use strict";

const assert = require("node:assert");

// Lines that tell the date and times of the run, or name its files.
const clockOrFile = /^\s*(Date|Time): |^Computing time: |^(Target|Replication) sample data file +: /;

function reportLinesCompared(pageReport, batchReport) {
    const pageLines = pageReport.split("\n");
    const batchLines = batchReport.split("\n");
    assert.strictEqual(pageLines.length, batchLines.length, "the reports have different numbers of lines");
    let compared = 0;
    pageLines.forEach((line, i) => {
        if (clockOrFile.test(line) && clockOrFile.test(batchLines[i])) {
            return;
        }
        assert.strictEqual(line, batchLines[i], `report line ${i + 1}`);
        ++compared;
    });
    // Every line is compared but the clock's three and the two file names.
    assert.ok(compared >= pageLines.length - 5, `only ${compared} of ${pageLines.length} lines compared`);
}

function jsonNumbersCompared(pageValue, batchValue, tolerance, where = "$") {
    if (typeof pageValue === "number" && typeof batchValue === "number") {
        const scale = Math.max(Math.abs(pageValue), Math.abs(batchValue));
        assert.ok(Math.abs(pageValue - batchValue) <= tolerance * scale,
            `${where}: ${pageValue} in the page, ${batchValue} in talver-batch`);
        return;
    }
    if (Array.isArray(batchValue)) {
        assert.ok(Array.isArray(pageValue) && pageValue.length === batchValue.length, `${where}: array lengths`);
        batchValue.forEach((value, i) => jsonNumbersCompared(pageValue[i], value, tolerance, `${where}[${i}]`));
        return;
    }
    if (batchValue !== null && typeof batchValue === "object") {
        assert.deepStrictEqual(Object.keys(pageValue).sort(), Object.keys(batchValue).sort(), `${where}: keys`);
        for (const key of Object.keys(batchValue)) {
            if (!/File$|[Tt]ime|[Dd]ate/.test(key)) {
                jsonNumbersCompared(pageValue[key], batchValue[key], tolerance, `${where}.${key}`);
            }
        }
        return;
    }
    assert.strictEqual(pageValue, batchValue, where);
}

module.exports = { reportLinesCompared, jsonNumbersCompared };
