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

// A number near zero that is the difference of larger ones carries their
// rounding, so each number is compared relative to the largest magnitude
// among its siblings (the same field across the items of an array, or the
// array of numbers it is in): the normwise relative error of that vector.
function siblingScales(values) {
    const scales = {};
    for (const value of values) {
        if (typeof value === "number") {
            scales[""] = Math.max(scales[""] || 0, Math.abs(value));
        } else if (value !== null && typeof value === "object" && !Array.isArray(value)) {
            for (const [key, field] of Object.entries(value)) {
                if (typeof field === "number") {
                    scales[key] = Math.max(scales[key] || 0, Math.abs(field));
                }
            }
        }
    }
    return scales;
}

function jsonNumbersCompared(pageValue, batchValue, tolerance, where = "$", siblingScale = 0, fieldScales = {}) {
    if (typeof pageValue === "number" && typeof batchValue === "number") {
        const scale = Math.max(Math.abs(pageValue), Math.abs(batchValue), siblingScale);
        assert.ok(Math.abs(pageValue - batchValue) <= tolerance * scale,
            `${where}: ${pageValue} in the page, ${batchValue} in talver-batch`);
        return;
    }
    if (Array.isArray(batchValue)) {
        assert.ok(Array.isArray(pageValue) && pageValue.length === batchValue.length, `${where}: array lengths`);
        const scales = siblingScales(batchValue);
        batchValue.forEach((value, i) =>
            jsonNumbersCompared(pageValue[i], value, tolerance, `${where}[${i}]`, scales[""] || 0, scales));
        return;
    }
    if (batchValue !== null && typeof batchValue === "object") {
        assert.deepStrictEqual(Object.keys(pageValue).sort(), Object.keys(batchValue).sort(), `${where}: keys`);
        for (const key of Object.keys(batchValue)) {
            if (!/File$|[Tt]ime|[Dd]ate/.test(key)) {
                jsonNumbersCompared(pageValue[key], batchValue[key], tolerance, `${where}.${key}`, fieldScales[key] || 0);
            }
        }
        return;
    }
    assert.strictEqual(pageValue, batchValue, where);
}

module.exports = { reportLinesCompared, jsonNumbersCompared };
